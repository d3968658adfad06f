#!/usr/bin/env bash
# Installs what building and running the program needs, builds the program
# alone (Release: the executable, its sound module, the sounds and the icon)
# and starts Zirmon. ./test.sh installs and builds the rest.
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ZIRMON_ROOT/tools/deps.sh"
zirmon_install_deps
zirmon_build "$ZIRMON_ROOT/build" Release -DZIRMON_TESTS=OFF -- zirmon zirmonsound sounds icons
exec "$ZIRMON_ROOT/build/zirmon"
