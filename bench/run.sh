#!/usr/bin/env bash
# Measures Zirmon against the reference program bench/limit (a Qt Widgets
# program of the same shape with none of our logic), side by side on one
# private X server without a window manager, and writes docs/PERFORMANCE.md.
#
#   bench/run.sh [RUNS]     RUNS per program after one warm-up each (default 9)
#
# Start-up: the two programs take turns (A B A B ...), each run with a fresh
# temporary home. bench/firstmap starts the program and waits on the X
# server's map notification for its first top-level window; one second later
# it reads the peak resident memory (VmHWM), then the processor time used in
# the next five idle seconds. The rest comes from bench/bench_drill on the
# offscreen platform.
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ZIRMON_ROOT/tools/deps.sh"
zirmon_install_deps test
BUILD=${ZIRMON_BUILD:-$ZIRMON_ROOT/build}
zirmon_build "$BUILD" Release
RUNS=${1:-9}
IDLE=5
REPORT=${ZIRMON_REPORT:-$ZIRMON_ROOT/docs/PERFORMANCE.md}
ZIRMON=$BUILD/zirmon
LIMIT=$BUILD/bench/zirmon-limit
FIRSTMAP=$BUILD/bench/firstmap

WORK=$(mktemp -d)
cleanup() {
    zirmon_stop_xvfb
    rm -rf "$WORK"
}
trap cleanup EXIT

# A private X server on a display number it picks itself.
zirmon_start_xvfb 1280x1024x24

# Two prepared homes: "journal", one child with a year's journal of
# 100,000 answers; "family", nine children, the last of them practising,
# with that journal.
JOURNAL=$WORK/journal/.local/share/zirmon
FAMILY=$WORK/family/.local/share/zirmon
mkdir -p "$JOURNAL" "$FAMILY/deti/9"
awk 'BEGIN {
    printf "\357\273\277Datum;Čas;Operace;A;B;Odpověď;Správně;Doba (ms)\r\n"
    for (i = 0; i < 100000; i++)
        printf "2026-%02d-%02d;17:%02d:%02d;násobení;%d;%d;%d;%s;%d\r\n", i % 12 + 1, i % 28 + 1,
            i % 60, i % 59, i % 11, i % 10 + 1, (i % 11) * (i % 10 + 1), (i % 7 ? "ano" : "ne"), 900 + i % 5000
}' >"$JOURNAL/denik.csv"
cp "$JOURNAL/denik.csv" "$FAMILY/deti/9/denik.csv"
{
    printf '[Rodina]\r\ndalsi=10\r\nposledni=9\r\ndite=0 Anička\r\n'
    for n in 2 3 4 5 6 7 8 9; do printf 'dite=%s Dítě %s\r\n' "$n" "$n"; done
} >"$FAMILY/rodina.ini"

# One start of one program in a fresh home (a copy of a prepared home when
# one is named): prints map_ms hwm_kib idle_cpu_ms.
start_once() {
    local home
    home=$(mktemp -d "$WORK/home.XXXXXX")
    [ -z "${2:-}" ] || cp -r "$WORK/$2/." "$home/"
    env -i PATH="$PATH" DISPLAY="$DISPLAY" HOME="$home" XDG_RUNTIME_DIR="$home" \
        LANG="${LANG:-C.UTF-8}" "$FIRSTMAP" "$IDLE" "$1" 2>/dev/null |
        sed -n 's/^map_ms=\([^ ]*\) hwm_kib=\([^ ]*\) idle_cpu_ms=\([^ ]*\)$/\1 \2 \3/p'
    rm -rf "$home"
}

echo "Warming up..."
start_once "$ZIRMON" >/dev/null
start_once "$LIMIT" >/dev/null
start_once "$ZIRMON" journal >/dev/null
start_once "$ZIRMON" family >/dev/null
: >"$WORK/pairs"
for i in $(seq "$RUNS"); do
    a=$(start_once "$ZIRMON")
    b=$(start_once "$LIMIT")
    c=$(start_once "$ZIRMON" journal)
    d=$(start_once "$ZIRMON" family)
    [ -n "$a" ] && [ -n "$b" ] && [ -n "$c" ] && [ -n "$d" ] ||
        { echo "run $i: a program did not map a window" >&2; exit 1; }
    echo "$a $b $c $d" >>"$WORK/pairs"
    echo "run $i of $RUNS: zirmon $a | limit $b | journal $c | family $d"
done

echo "Drill figures..."
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_drill" 2>/dev/null | grep '^|' >"$WORK/drill"

# Median, min and max of column $1 of the pairs file, scaled by $2.
stats() {
    awk -v c="$1" -v s="$2" '{ print $c * s }' "$WORK/pairs" | sort -g |
        awk '{ v[NR] = $1 } END { printf "%.1f | %.1f | %.1f", v[int((NR + 1) / 2)], v[1], v[NR] }'
}
# Median, min and max of the ratio of column $1 to column $2, pair by pair.
ratio() {
    awk -v a="$1" -v b="$2" '{ print $a / $b }' "$WORK/pairs" | sort -g |
        awk '{ v[NR] = $1 } END { printf "%.3f | %.3f | %.3f", v[int((NR + 1) / 2)], v[1], v[NR] }'
}
median_of() { stats "$1" "$2" | cut -d'|' -f1 | tr -d ' '; }
median_ratio() { ratio "$1" "$2" | cut -d'|' -f1 | tr -d ' '; }
verdict() { awk -v v="$1" -v g="$2" 'BEGIN { print (v <= g) ? "met" : "**not met**" }'; }
drill_median() { awk -F'|' -v w="$1" 'index($2, w) { gsub(/ /, "", $3); print $3; exit }' "$WORK/drill"; }

cpu_model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
mem_total=$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
debian=$(cat /etc/debian_version 2>/dev/null || echo unknown)
qt=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)
time_ratio=$(median_ratio 1 4)
mem_ratio=$(median_ratio 2 5)
journal_ratio=$(median_ratio 7 1)
family_ratio=$(median_ratio 10 4)
idle_a=$(median_of 3 1)
enter_1k=$(drill_median "one Enter, 1,000")
enter_100k=$(drill_median "one Enter, 100,000")
show_100k=$(drill_median "one showing of")
pause_share=$(drill_median "share of one core")
progress_open=$(drill_median "first opening of")
progress_peak=$(drill_median "peak while it opened")

{
    echo "# Performance"
    echo
    echo "Measured by \`bench/run.sh $RUNS\` on $(date -u +%Y-%m-%d)."
    echo
    echo "Machine: $(nproc) cores ($cpu_model), $mem_total of memory, Debian $debian,"
    echo "kernel $(uname -r), Qt $qt, Release build. Start-up runs on a private Xvfb"
    echo "without a window manager, $RUNS runs per program after one warm-up each,"
    echo "Zirmon, the reference program \`bench/limit\`, Zirmon with a year's journal"
    echo "(100,000 answers) and Zirmon in the home of a family of nine children (the"
    echo "practising one with that journal) taking turns, each run in a fresh"
    echo "temporary home. Other figures on the offscreen platform."
    echo
    echo "## Start-up against the reference program"
    echo
    echo "| Figure | Median | Min | Max |"
    echo "|---|---|---|---|"
    echo "| Zirmon: process start to first window mapped, ms | $(stats 1 1) |"
    echo "| Limit: process start to first window mapped, ms | $(stats 4 1) |"
    echo "| Ratio Zirmon / limit, pair by pair | $(ratio 1 4) |"
    echo "| Zirmon: peak resident memory 1 s after the window, MiB | $(stats 2 0.0009765625) |"
    echo "| Limit: peak resident memory 1 s after the window, MiB | $(stats 5 0.0009765625) |"
    echo "| Ratio Zirmon / limit, pair by pair | $(ratio 2 5) |"
    echo "| Zirmon: processor time in $IDLE idle seconds, ms | $(stats 3 1) |"
    echo "| Limit: processor time in $IDLE idle seconds, ms | $(stats 6 1) |"
    echo "| Zirmon with a year's journal: first window mapped, ms | $(stats 7 1) |"
    echo "| Ratio with journal / without, pair by pair | $(ratio 7 1) |"
    echo "| Zirmon with a year's journal: peak resident memory, MiB | $(stats 8 0.0009765625) |"
    echo "| A family of nine: first window (\"Kdo bude počítat?\") mapped, ms | $(stats 10 1) |"
    echo "| Ratio family / limit, pair by pair | $(ratio 10 4) |"
    echo "| A family of nine: peak resident memory, MiB | $(stats 11 0.0009765625) |"
    echo
    echo "## The drill"
    echo
    echo "| Figure | Median | Min | Max | Runs |"
    echo "|---|---|---|---|---|"
    cat "$WORK/drill"
    echo
    echo "## Goals"
    echo
    echo "| Goal | Measured | |"
    echo "|---|---|---|"
    echo "| time to first window at most 1.10 x the limit | $time_ratio x | $(verdict "$time_ratio" 1.10) |"
    echo "| peak memory at most 1.10 x the limit | $mem_ratio x | $(verdict "$mem_ratio" 1.10) |"
    echo "| a family of nine: first window at most 1.10 x the limit | $family_ratio x | $(verdict "$family_ratio" 1.10) |"
    echo "| a year's journal (100,000 lines): start at most 1.05 x the start without | $journal_ratio x | $(verdict "$journal_ratio" 1.05) |"
    echo "| idle processor use 0 | $idle_a ms in $IDLE s | $(verdict "$idle_a" 0) |"
    echo "| one Enter under 1 ms at 1,000 listed lines | $enter_1k ms | $(verdict "$enter_1k" 1) |"
    echo "| one Enter under 20 ms at 100,000 listed lines | $enter_100k ms | $(verdict "$enter_100k" 20) |"
    echo "| one \"Příklady\" showing under 100 ms at 100,000 lines | $show_100k ms | $(verdict "$show_100k" 100) |"
    echo "| one pause under 2 % of one core | $pause_share % | $(verdict "$pause_share" 2) |"
    echo "| \"Pokrok\" opens in under 150 ms at 100,000 answers | $progress_open ms | $(verdict "$progress_open" 150) |"
    echo "| \"Pokrok\" adds under 10 MiB of memory at 100,000 answers | $progress_peak MiB | $(verdict "$progress_peak" 10) |"
    NOTES=${ZIRMON_BENCH_NOTES:-$ZIRMON_ROOT/bench/NOTES.md}
    if [ -f "$NOTES" ]; then
        echo
        cat "$NOTES"
    fi
} >"$WORK/report"

mkdir -p "$(dirname "$REPORT")"
cp "$WORK/report" "$REPORT"
cat "$REPORT"
echo
echo "Written to $REPORT"
