#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite on the
# offscreen platform. Extra arguments go to ctest (for example -R profile).
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ZIRMON_ROOT/tools/deps.sh"
zirmon_install_deps test
BUILD=${ZIRMON_BUILD:-$ZIRMON_ROOT/build}
zirmon_build "$BUILD" "${ZIRMON_BUILD_TYPE:-Release}" ${ZIRMON_CMAKE_ARGS:-}
cd "$BUILD"
QT_QPA_PLATFORM="offscreen:configfile=$ZIRMON_ROOT/tests/offscreen.json" ctest --output-on-failure "$@"
