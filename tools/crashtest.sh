#!/usr/bin/env bash
# Crash test: N times, starts the crash driver (the program's windows on the
# offscreen platform, used without pause by zirmon-crashdriver), kills it
# with SIGKILL after a random 0.05 to 2 s, and checks that zirmon.ini and
# priklad.dat parse and hold the content before the interrupted write or
# after it, and that every line of denik.csv but a torn last one reads. Each
# run starts from the files the last one left. Prints the tally; exits
# non-zero when a file was torn or lost.
#
#   tools/crashtest.sh N
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ZIRMON_ROOT/tools/deps.sh"

if [ $# -ne 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    echo "usage: tools/crashtest.sh N" >&2
    exit 2
fi
RUNS=$1
zirmon_install_deps test
BUILD=${ZIRMON_BUILD:-$ZIRMON_ROOT/build}
zirmon_build "$BUILD" "${ZIRMON_BUILD_TYPE:-Release}"
WORK=$(mktemp -d /tmp/zirmon-crashtest.XXXXXX)
# A copy of its own, so that a rebuild during a long run cannot disturb it.
cp "$BUILD/zirmon-crashdriver" "$WORK/"
DRIVER="$WORK/zirmon-crashdriver"
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/share" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
declare -A tally=()
bad=0
pending=0
writes=0
started=$(date +%s)
for ((run = 1; run <= RUNS; run++)); do
    journal="$WORK/journal"
    "$DRIVER" start "$journal" 2>>"$WORK/driver.log"
    "$DRIVER" drive "$journal" 2>>"$WORK/driver.log" &
    pid=$!
    ms=$((50 + RANDOM % 1951))
    sleep "$((ms / 1000)).$(printf '%03d' $((ms % 1000)))"
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "run $run: the driver ended by itself" >&2
        bad=1
    fi
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if ! outcome=$("$DRIVER" check "$journal" 2>>"$WORK/check.log"); then
        echo "run $run: $outcome" >&2
        bad=1
        cp "$journal" "$WORK/journal.failed.$run"
    fi
    writes=$((writes + $(grep -ac '^W ' "$journal" || true)))
    case "$outcome" in *=new* | *=old*) pending=$((pending + 1)) ;; esac
    for word in $outcome; do
        tally[$word]=$((${tally[$word]:-0} + 1))
    done
done
took=$(($(date +%s) - started))

echo "=== crash test: $RUNS kills by SIGKILL in $took s, $writes file writes journalled"
echo "kills that interrupted a write (a file's last write not yet confirmed): $pending"
for word in $(printf '%s\n' "${!tally[@]}" | sort); do
    printf '  %-28s %d\n' "$word" "${tally[$word]}"
done
if grep -q "^left in the data folder" "$WORK/check.log"; then
    echo "files left in the data folder beside the two, by name without their last part:"
    sed -n 's/^left in the data folder: \(.*\)\.[^.]*$/\1/p' "$WORK/check.log" | sort | uniq -c
fi
trouble="unexpected box|driver:|Recursive call"
if grep -Eq "$trouble" "$WORK/driver.log"; then
    echo "the driver met trouble:" >&2
    grep -E "$trouble" "$WORK/driver.log" | sort | uniq -c | head >&2
    bad=1
fi
if [ "$bad" -ne 0 ]; then
    echo "FAILED: torn, lost or unreadable files (kept in $WORK)" >&2
    exit 1
fi
echo "no torn or lost file"
rm -rf "$WORK"
