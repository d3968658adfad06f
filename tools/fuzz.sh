#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build folder of their own and
# runs each one for SECONDS seconds, one after the other, at low priority.
# Prints the executions and the findings of every target and exits non-zero
# when any target found something (its input lands in FOLDER/findings/TARGET).
#
#   tools/fuzz.sh SECONDS [TARGET...]     targets: profile inttext answer listfile rodina denik
#
# FOLDER is build-fuzz beside this script's folder, or $ZIRMON_FUZZ_BUILD.
# The corpus each target grows is kept in FOLDER/corpus/TARGET, on top of
# the seeds in tests/fuzz/corpus/TARGET. With ZIRMON_FUZZ_RUNS=N a target
# also stops after N executions.
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ZIRMON_ROOT/tools/deps.sh"

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    echo "usage: tools/fuzz.sh SECONDS [TARGET...]" >&2
    exit 2
fi
SECONDS_EACH=$1
shift
TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=(profile inttext answer listfile rodina denik)

zirmon_install_deps test
BUILD=${ZIRMON_FUZZ_BUILD:-$ZIRMON_ROOT/build-fuzz}
CC=clang CXX=clang++ zirmon_build "$BUILD" Release -DZIRMON_FUZZ=ON

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
summary=()
for target in "${TARGETS[@]}"; do
    program="$BUILD/tests/fuzz/fuzz_$target"
    seeds="$ZIRMON_ROOT/tests/fuzz/corpus/$target"
    if [ ! -x "$program" ] || [ ! -d "$seeds" ]; then
        echo "unknown fuzz target: $target" >&2
        exit 2
    fi
    corpus="$BUILD/corpus/$target"
    findings="$BUILD/findings/$target"
    log="$BUILD/fuzz-$target.log"
    rm -rf "$findings"
    mkdir -p "$corpus" "$findings"
    echo "=== fuzz_$target for $SECONDS_EACH s (log: $log)"
    options=()
    [ -n "${ZIRMON_FUZZ_RUNS:-}" ] && options+=(-runs="$ZIRMON_FUZZ_RUNS")
    # A settings file's structure shows in a kilobyte; longer inputs only
    # make each run slower.
    [ "$target" = profile ] && options+=(-max_len=1024)
    # One input may allocate at most 2.5 GB at once. The whole process gets
    # more: over millions of executions AddressSanitizer's record of the
    # places memory was allocated and freed (never given back) grows by
    # about 150 MB per million, none of it the program's.
    started=$(date +%s)
    set +e
    nice -n 10 "$program" -max_total_time="$SECONDS_EACH" -print_final_stats=1 -timeout=10 \
        -malloc_limit_mb=2560 -rss_limit_mb=6144 -artifact_prefix="$findings/" "${options[@]}" \
        "$corpus" "$seeds" >"$log" 2>&1
    rc=$?
    set -e
    took=$(($(date +%s) - started))
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [ -z "$executions" ]; then
        # Stopped by a finding: the last progress line has the count.
        executions=$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$log" | tail -1)
    fi
    found=$(find "$findings" -type f | wc -l)
    if [ "$rc" -ne 0 ] && [ "$found" -eq 0 ]; then
        found=1 # it stopped without leaving an input: count it all the same
    fi
    if [ "$found" -ne 0 ]; then
        failed=1
        grep -E "ERROR|property failed|SUMMARY" "$log" | head -5 || true
    fi
    line="fuzz_$target: ${executions:-0} executions in $took s, $found findings"
    echo "$line"
    summary+=("$line")
done

echo "=== fuzzing summary"
printf '%s\n' "${summary[@]}"
exit "$failed"
