#!/usr/bin/env bash
# Runs every test program of the suite once under valgrind's memcheck, one
# after the other, on the offscreen platform as ctest does. Any invalid read
# or write, use of an undefined value, bad free or leaked block (definitely
# or possibly lost) fails the run. tools/valgrind.supp holds the only
# suppressions, for third-party noise, each with the reason it is not ours.
#
#   tools/valgrind.sh [TEST...]        (default: every tests/tst_*)
#
# The big-file tests use ZIRMON_HOSTILE_MB (default here 2) instead of
# 50 MB: memcheck finds the same faults in a smaller file, twenty to fifty
# times faster. Logs go to BUILD/valgrind/. The run finds every error
# without --track-origins, in about half the time; to learn where an
# undefined value came from, give it for the rerun:
# VALGRIND_OPTS=--track-origins=yes tools/valgrind.sh tst_NAME
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ZIRMON_ROOT/tools/deps.sh"
zirmon_install_deps test
BUILD=${ZIRMON_BUILD:-$ZIRMON_ROOT/build}
zirmon_build "$BUILD" "${ZIRMON_BUILD_TYPE:-Release}"

export QT_QPA_PLATFORM="offscreen:configfile=$ZIRMON_ROOT/tests/offscreen.json"
export ZIRMON_HOSTILE_MB=${ZIRMON_HOSTILE_MB:-2}
# Qt's regular expressions compile to machine code (PCRE2 JIT), which
# memcheck cannot follow: it took their reads for uses of undefined values
# (the file dialog's filters). Interpreted, they run the same patterns.
export QT_ENABLE_REGEXP_JIT=0
SUPPRESSIONS=()
[ -f "$ZIRMON_ROOT/tools/valgrind.supp" ] && SUPPRESSIONS=(--suppressions="$ZIRMON_ROOT/tools/valgrind.supp")
LOGS="$BUILD/valgrind"
rm -rf "$LOGS"
mkdir -p "$LOGS"
cd "$BUILD/tests"
TESTS=("$@")
if [ ${#TESTS[@]} -eq 0 ]; then
    for program in tst_*; do
        [ -f "$program" ] && [ -x "$program" ] && TESTS+=("$program")
    done
fi

failed=()
started=$(date +%s)
for test in "${TESTS[@]}"; do
    begun=$(date +%s)
    if valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --num-callers=40 \
        "${SUPPRESSIONS[@]}" --log-file="$LOGS/$test.valgrind" \
        "./$test" >"$LOGS/$test.out" 2>&1; then
        verdict=clean
    else
        verdict=FAILED
        failed+=("$test")
    fi
    errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9]*\) errors.*/\1/p' "$LOGS/$test.valgrind" | tail -1)
    printf '%-18s %-7s %4d s  memcheck errors: %s\n' "$test" "$verdict" \
        $(($(date +%s) - begun)) "${errors:-?}"
done
echo "=== valgrind: ${#TESTS[@]} test programs in $(($(date +%s) - started)) s, ${#failed[@]} failed"
if [ ${#failed[@]} -ne 0 ]; then
    echo "failed: ${failed[*]} (see $LOGS)" >&2
    exit 1
fi
