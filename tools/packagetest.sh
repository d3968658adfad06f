#!/usr/bin/env bash
# packagetest.sh - is Zirmon installable, and does the installed program work?
#
# Usage: tools/packagetest.sh [--extract] [--drop-sounds]
#
# 1. Installs the build (build/, or $ZIRMON_BUILD) into a temporary prefix
#    with `cmake --install` and validates the menu entry and the metainfo
#    (desktop-file-validate, appstreamcli validate --no-net) and the icons.
# 2. Builds the Debian package with `cpack -G DEB` and checks its control
#    data: computed library dependencies, every dependency a known package.
# 3. Installs the package: as root with apt-get (which must find every
#    dependency) and removes it again at the end; otherwise, or with
#    --extract, unpacks it with `dpkg -x` into a temporary folder.
# 4. Starts the installed program under a private X server and a private
#    PulseAudio null sink (tools/soundcheck.sh) with an empty data folder,
#    checks in a picture of its window that the four picture buttons drew,
#    starts addition with a click, types a wrong answer and Enter, ends the
#    practice and the program from the keyboard, and requires the siren to
#    have been heard and the settings and list files to hold the answer.
#    A second start while it runs must show only its box and end.
#
# --drop-sounds unpacks the package without its two sound files: the run
# must then fail, which shows that the sound check really listens.
# Exit status 0 when everything holds.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

# --- The part that runs under the X server and the sound server ----------
if [ "${1:-}" = "--drive" ]; then
    program=$2 work=$3 grabcheck=$4
    unset QT_QPA_PLATFORM QT_SCALE_FACTOR
    export HOME="$work/home" XDG_DATA_HOME="$work/home/share" XDG_CONFIG_HOME="$work/home/.config"
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
    mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
    fail() {
        echo "packagetest: $*" >&2
        [ -n "${app:-}" ] && kill "$app" 2>/dev/null
        exit 1
    }
    "$program" >"$work/program.log" 2>&1 &
    app=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zirmon 4\.0$' | head -n 1) ||
        fail "the installed program showed no window"
    [ -n "$window" ] || fail "the installed program showed no window"
    sleep 1
    # Without a window manager the window is its client area: the menu bar,
    # then the idle layout's 210 pixels.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    menu=$((HEIGHT - 210))
    [ "$WIDTH" -eq 532 ] && [ "$menu" -gt 10 ] && [ "$menu" -lt 60 ] ||
        fail "unexpected window size ${WIDTH}x${HEIGHT}"
    idle_height=$HEIGHT
    # A second start on the same data folder: one box, no second window, no
    # file read or written, and it ends when the box is closed.
    "$program" >"$work/second.log" 2>&1 &
    second=$!
    box=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zirmon$' | head -n 1) ||
        fail "a second start showed no box"
    [ "$(xdotool search --onlyvisible --name '^Zirmon 4\.0$' | wc -l)" -eq 1 ] ||
        fail "a second start showed a second main window"
    xdotool windowfocus --sync "$box" key Return
    for _ in $(seq 50); do
        kill -0 "$second" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$second" 2>/dev/null && fail "a second start did not end when its box closed"
    wait "$second" || fail "a second start ended with an error"
    [ -z "$(ls -A "$XDG_DATA_HOME/zirmon" 2>/dev/null)" ] || fail "a second start wrote a file"
    echo "drive: a second start showed its box and ended"
    # The four picture buttons, each 41 x 25, with its red sign.
    rects=()
    for at in 16,16 104,16 16,72 104,72; do
        rects+=("${at%,*},$((${at#*,} + menu)),41,25")
    done
    picture=$("$grabcheck" "$window" "$work/idle.png" "${rects[@]}") ||
        fail "no picture of the window"
    echo "$picture"
    while read -r _ rect _ count; do
        [ "$count" -ge 10 ] || fail "the picture button at $rect drew no picture"
    done < <(printf '%s\n' "$picture" | grep '^red ')
    # Addition: a click on its button; the problem layout makes the window taller.
    xdotool mousemove --window "$window" 36 $((72 + menu + 12)) click 1
    for _ in $(seq 50); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        [ "$HEIGHT" -gt "$idle_height" ] && break
        sleep 0.1
    done
    [ "$HEIGHT" -gt "$idle_height" ] || fail "the addition button showed no problem"
    # A wrong answer for any addition up to 100; the siren sounds in the pause.
    xdotool windowfocus --sync "$window"
    xdotool type --delay 50 999
    xdotool key Return
    sleep 3
    "$grabcheck" "$window" "$work/answered.png" >/dev/null || fail "no picture of the window"
    # "Konec počítání" lies just before the answer field in the tab order;
    # then Alt+K ("&Konec") saves the counts and ends the program.
    xdotool key shift+Tab space
    sleep 0.5
    xdotool key alt+k
    for _ in $(seq 100); do
        kill -0 "$app" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app" 2>/dev/null && fail "the program did not end with Alt+K"
    status=0
    wait "$app" || status=$?
    app=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
    ini=$(tr -d '\r' <"$XDG_DATA_HOME/zirmon/zirmon.ini") || fail "no settings file was written"
    grep -qx 'KOscit=1' <<<"$ini" && grep -qx 'KOcelk=1' <<<"$ini" ||
        fail "the settings file does not count the wrong addition"
    grep -q '=    999' "$XDG_DATA_HOME/zirmon/priklad.dat" ||
        fail "the list file does not hold the wrong answer"
    echo "drive: window drew, wrong answer counted and listed, program ended with Alt+K"
    exit 0
fi

# --- The test itself ------------------------------------------------------
extract=0
drop_sounds=0
for arg in "$@"; do
    case $arg in
    --extract) extract=1 ;;
    --drop-sounds) extract=1 drop_sounds=1 ;;
    *)
        sed -n '2,/^set -e/s/^# \{0,1\}//p' "$0" | sed '$d' >&2
        exit 2
        ;;
    esac
done
[ "$(id -u)" -eq 0 ] || extract=1

ZIRMON_ROOT=$ROOT
source "$ROOT/tools/deps.sh"
zirmon_install_deps test
BUILD=${ZIRMON_BUILD:-$ROOT/build}
zirmon_build "$BUILD" Release >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/packagetest.XXXXXX")
installed_here=0
cleanup() {
    zirmon_stop_xvfb
    if [ "$installed_here" -eq 1 ]; then
        dpkg -r zirmon >/dev/null || echo "packagetest: could not remove the package" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT
started=$(date +%s)
fail() {
    echo "packagetest: FAILED: $*" >&2
    exit 1
}

id=org.example.zirmon
prefix=$work/prefix
echo "=== cmake --install into a temporary prefix"
cmake --install "$BUILD" --prefix "$prefix" >/dev/null
for f in bin/zirmon share/zirmon/ok.dat share/zirmon/bad.dat \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$id.svg"; do
    [ -f "$prefix/$f" ] || fail "cmake --install left out $f"
done
for size in 48 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    file "$png" | grep -q "PNG image data, $size x $size," || fail "$png is no ${size}px PNG"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "appstreamcli validate"

echo "=== cpack -G DEB"
rm -f "$BUILD"/zirmon_*.deb
(cd "$BUILD" && cpack -G DEB >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log" >&2
    fail "cpack"
}
deb=$(ls "$BUILD"/zirmon_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Depends: $depends"
echo "Recommends: $recommends"
grep -q 'libqt6core6 (>=' <<<"$depends" || fail "the library dependencies were not computed"
grep -q 'qt6-qpa-plugins' <<<"$depends" || fail "the window system plugins are not a dependency"
# Every name the package depends on must be a package Debian has.
for name in $(printf '%s, %s' "$depends" "$recommends" | tr ',|' '\n\n' |
    sed -e 's/(.*)//' -e 's/[[:space:]]//g' | sort -u); do
    apt-cache show "$name" >/dev/null 2>&1 || fail "the package depends on $name, which Debian lacks"
done

if [ "$extract" -eq 0 ] && dpkg-query -W -f='${Status}' zirmon 2>/dev/null | grep -q 'ok installed'; then
    echo "zirmon is installed on this machine already; unpacking instead of installing"
    extract=1
fi
if [ "$extract" -eq 0 ]; then
    echo "=== apt-get install $(basename "$deb")"
    export DEBIAN_FRONTEND=noninteractive
    installed_here=1
    zirmon_apt_get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" \
        >"$work/apt.log" 2>&1 || {
        cat "$work/apt.log" >&2
        fail "the package does not install"
    }
    program=/usr/bin/zirmon
    desktop-file-validate "/usr/share/applications/$id.desktop" || fail "installed menu entry"
    for f in "/usr/share/icons/hicolor/scalable/apps/$id.svg" \
        "/usr/share/icons/hicolor/48x48/apps/$id.png" "/usr/share/zirmon/bad.dat"; do
        [ -f "$f" ] || fail "the package did not install $f"
    done
else
    echo "=== dpkg -x $(basename "$deb")"
    dpkg -x "$deb" "$work/root"
    program=$work/root/usr/bin/zirmon
    if [ "$drop_sounds" -eq 1 ]; then
        echo "(without its sounds: this run must fail)"
        rm "$work/root/usr/share/zirmon/ok.dat" "$work/root/usr/share/zirmon/bad.dat"
    fi
fi

echo "=== the installed program under a private X server and sound server"
run=$work/run
mkdir -p "$run"
zirmon_start_xvfb 1024x768x24
out=$(timeout 150 "$ROOT/tools/soundcheck.sh" \
    "$ROOT/tools/packagetest.sh" --drive "$program" "$run" "$BUILD/zirmon-grabcheck") || {
    printf '%s\n' "$out"
    cat "$run/program.log" >&2 2>/dev/null
    fail "the installed program did not work"
}
printf '%s\n' "$out"
rms=$(printf '%s\n' "$out" | sed -n 's/^rms=//p')
awk -v r="${rms:-0}" 'BEGIN { exit !(r > 0.05) }' || fail "the siren was not heard (rms=${rms:-none})"
echo "packagetest: passed in $(($(date +%s) - started)) s"
