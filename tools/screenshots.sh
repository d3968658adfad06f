#!/usr/bin/env bash
# Takes a picture of every window of Zirmon and of both main-window layouts:
#   tools/screenshots.sh [FOLDER]      (default: docs/screenshots)
# Set QT_SCALE_FACTOR=2 to take them at double scale. Installs what is
# missing and builds in build/ first, as ./test.sh does.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ZIRMON_ROOT=$ROOT
OUT=${1:-$ROOT/docs/screenshots}
source "$ROOT/tools/deps.sh"
zirmon_install_deps test
BUILD=${ZIRMON_BUILD:-$ROOT/build}
zirmon_build "$BUILD" Release >/dev/null
BIN=$BUILD/zirmon-screenshots
HOME_DIR=$(mktemp -d)
trap 'zirmon_stop_xvfb; rm -rf "$HOME_DIR"' EXIT
mkdir -p "$OUT"
zirmon_start_xvfb 1280x1024x24
HOME="$HOME_DIR" XDG_DATA_HOME="$HOME_DIR/share" XDG_RUNTIME_DIR="$HOME_DIR" QT_QPA_PLATFORM=xcb \
    "$BIN" "$OUT"
