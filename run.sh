#!/usr/bin/env bash
# Installs what is missing, builds a Release build and starts Zirmon.
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ZIRMON_ROOT/tools/deps.sh"
zirmon_install_deps
zirmon_build "$ZIRMON_ROOT/build" Release
exec "$ZIRMON_ROOT/build/zirmon"
