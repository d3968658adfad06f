#!/usr/bin/env bash
# Takes a picture of every window of Zirmon and of both main-window layouts:
#   tools/screenshots.sh [FOLDER]      (default: docs/screenshots)
# Set QT_SCALE_FACTOR=2 to take them at double scale. Needs a build in build/
# (./test.sh or ./run.sh makes one) and xvfb-run.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-$ROOT/docs/screenshots}
BIN=${ZIRMON_BUILD:-$ROOT/build}/zirmon-screenshots
if [ ! -x "$BIN" ]; then
    cmake --build "${ZIRMON_BUILD:-$ROOT/build}" --target zirmon-screenshots
fi
HOME_DIR=$(mktemp -d)
trap 'rm -rf "$HOME_DIR"' EXIT
mkdir -p "$OUT"
HOME="$HOME_DIR" XDG_DATA_HOME="$HOME_DIR/share" XDG_RUNTIME_DIR="$HOME_DIR" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$BIN" "$OUT"
