#!/usr/bin/env bash
# Zirmon in a Wayland session, under a headless weston of its own:
#  1. with XWayland, the program started as a user starts it (no platform
#     chosen) runs on X11: its main window appears on the X display;
#  2. without XWayland it runs natively on Wayland, where "&Konec" must keep
#     the stored position (tests/tst_mainwindow storedPositionSurvives).
# Usage: tools/wayland.sh [BUILD]   (default: build)
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ZIRMON_ROOT/build}
source "$ZIRMON_ROOT/tools/deps.sh"
zirmon_install_deps test
zirmon_build "$BUILD" Release -- zirmon tst_mainwindow

WORK=$(mktemp -d)
PIDS=()
finish() {
    local pid
    for pid in "${PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap finish EXIT
mkdir -m 700 "$WORK/run"
export XDG_RUNTIME_DIR=$WORK/run HOME=$WORK/home XDG_DATA_HOME=$WORK/home/share
mkdir -p "$XDG_DATA_HOME"
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY

# Starts weston on socket $1 with the further arguments; waits for its socket.
start_weston() {
    local socket=$1
    shift
    weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
        --log="$WORK/$socket.log" "$@" &
    PIDS+=($!)
    local i
    for ((i = 0; i < 100; i++)); do
        [ -S "$XDG_RUNTIME_DIR/$socket" ] && return 0
        sleep 0.1
    done
    echo "weston did not start:" >&2
    cat "$WORK/$socket.log" >&2
    return 1
}

echo "=== With XWayland: the program runs on X11"
start_weston zirmon-x --xwayland
display=
for ((i = 0; i < 100; i++)); do
    display=$(grep -o 'xserver listening on display :[0-9]*' "$WORK/zirmon-x.log" | grep -o ':[0-9]*$' || true)
    [ -n "$display" ] && break
    sleep 0.1
done
if [ -z "$display" ]; then
    echo "weston started no XWayland:" >&2
    cat "$WORK/zirmon-x.log" >&2
    exit 1
fi
# A Plasma session, where Qt itself would choose Wayland.
XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=KDE WAYLAND_DISPLAY=zirmon-x DISPLAY=$display \
    "$BUILD/zirmon" >"$WORK/zirmon.out" 2>&1 &
PIDS+=($!)
if ! DISPLAY=$display timeout 60 xdotool search --sync --name '^Zirmon 4.0$' >/dev/null; then
    echo "The main window did not appear on the X display $display:" >&2
    cat "$WORK/zirmon.out" >&2
    exit 1
fi
echo "main window on the X display $display"

echo "=== Without XWayland: natively on Wayland, the stored position kept"
start_weston zirmon-w
WAYLAND_DISPLAY=zirmon-w QT_QPA_PLATFORM=wayland ZIRMON_EXPECT_PLATFORM=wayland \
    "$BUILD/tests/tst_mainwindow" storedPositionSurvives
