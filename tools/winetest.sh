#!/usr/bin/env bash
# Runs the Windows build (tools/windows.sh) under Wine with a Czech locale, so
# that the ANSI code page is windows-1250:
#  1. every test program on the offscreen platform, except the programs,
#     functions and rows tests/windows-excluded.txt names;
#  2. the zip, unpacked into a new prefix (no installer run, no data of an
#     earlier run), and its zirmon.exe on an X display (Xvfb), driven with
#     xdotool: one problem answered, "&Konec" pressed, and zirmon.ini checked
#     in the roaming application-data folder;
#  3. the installer, silently, into another new prefix, and the installed
#     zirmon.exe driven in the same way, over a settings file of an earlier
#     version whose windows-1250 password it must keep;
#  4. the uninstaller, silently, which leaves the data folder alone.
# Each part has a prefix of its own: build-windows/wine, wine-zip, wine-setup.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${ZIRMON_WINDOWS_BUILD:-$ROOT/build-windows}
VERSION=$(sed -n 's/^project(Zirmon VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")

ZIRMON_ROOT=$ROOT
source "$ROOT/tools/deps.sh"
zirmon_install_packages wine wine64 locales xvfb xauth xdotool fonts-dejavu-core
if ! locale -a | grep -qix 'cs_CZ.utf8'; then
    if grep -q '^# *cs_CZ.UTF-8 UTF-8' /etc/locale.gen; then
        "${ZIRMON_SUDO[@]}" sed -i 's/^# *\(cs_CZ.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    else
        echo "cs_CZ.UTF-8 UTF-8" | "${ZIRMON_SUDO[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${ZIRMON_SUDO[@]}" locale-gen
fi

export LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8
export WINEPREFIX=$OUT/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
WINE=wine
# Wine's windows need an X display even where Qt draws offscreen.
trap 'zirmon_stop_xvfb; wineserver -k 2>/dev/null || true' EXIT
zirmon_start_xvfb 1280x1024x24

# Makes $WINEPREFIX anew: nothing from an earlier run counts.
new_prefix() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1
    wineserver -w
}
new_prefix

# --- 1. The test programs -------------------------------------------------
EXCLUDED=$ROOT/tests/windows-excluded.txt
export WINEPATH
WINEPATH=$(winepath -w "$OUT")
# Wine hands a Windows program no variable of the Unix environment that
# begins with QT_; one set as WINEQT_... reaches it without the WINE. The
# screen's description lies beside the test programs, so its path needs no
# drive letter (whose colon would end the platform's argument).
cp "$ROOT/tests/offscreen.json" "$OUT/tests/"
export WINEQT_PLUGIN_PATH WINEQT_QPA_FONTDIR
WINEQT_PLUGIN_PATH=$(winepath -w "$OUT")
WINEQT_QPA_FONTDIR=$(winepath -w /usr/share/fonts/truetype/dejavu)
export WINEQT_QPA_PLATFORM="offscreen:configfile=offscreen.json"

# The entries of the exclusion list for one program: "function" or
# "function:row", one a line.
excluded_for() {
    sed -n "s/^$1:\(.*[^ ]\) *|.*/\1/p" "$EXCLUDED"
}

LOGS=$OUT/wine-tests
rm -rf "$LOGS"
mkdir -p "$LOGS"
failed=()
start=$(date +%s)
for exe in "$OUT"/tests/tst_*.exe; do
    name=$(basename "$exe" .exe)
    grep -q "^$name |" "$EXCLUDED" && continue
    args=()
    skip=$(excluded_for "$name")
    if [ -n "$skip" ]; then
        # Every function and row of the program but the excluded ones.
        while IFS= read -r line; do
            line=${line%$'\r'}
            read -r _ function tag <<<"$line"
            [ -n "$function" ] || continue
            case=$function${tag:+:$tag}
            if grep -qxF -e "$function" -e "$case" <<<"$skip"; then
                continue
            fi
            args+=("$case")
        done < <(cd "$OUT/tests" && "$WINE" "$exe" -datatags 2>/dev/null)
    fi
    # The results go to a file: Wine gives a console program's output no
    # pipe of its own.
    if (cd "$OUT/tests" && timeout 300 "$WINE" "$exe" -o "$LOGS/$name.txt,txt" "${args[@]}" \
        >"$LOGS/$name.wine.txt" 2>&1); then
        result=passed
    else
        result=FAILED
        failed+=("$name")
    fi
    echo "$name: $result, $(tr -d '\r' <"$LOGS/$name.txt" | grep -m1 '^Totals' || echo 'no totals')"
    tr -d '\r' <"$LOGS/$name.txt" | grep -A2 '^FAIL' || true
done
echo "Tests under Wine: $(($(date +%s) - start)) s"

# --- 2. to 4. The zip and the installer, each in a new prefix -----------
problems=()
unset WINEQT_QPA_PLATFORM WINEQT_PLUGIN_PATH WINEQT_QPA_FONTDIR

# The roaming application-data folder of the prefix in use.
data_folder() {
    echo "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/zirmon"
}

# Starts the program $2 (a Windows path) in folder $1 on the X display,
# answers one multiplication, ends the practice and the program, and checks
# the zirmon.ini it wrote; problems are added with the label $3.
drive_program() {
    local folder=$1 exe=$2 label=$3 data
    data=$(data_folder)
    (cd "$folder" && "$WINE" "$exe" >"$LOGS/zirmon-$label.txt" 2>&1) &
    local zirmon=$!
    local window
    window=$(timeout 120 xdotool search --sync --onlyvisible --name "^Zirmon 4.0$" | head -n1 || true)
    if [ -z "$window" ]; then
        problems+=("$label: no main window")
        kill "$zirmon" 2>/dev/null || true
        wineserver -k 2>/dev/null || true
        return 0
    fi
    sleep 2
    # The first button (multiplication) has the focus: start, answer 0, and
    # after the verdict's pause end the practice (Shift+Tab from the answer
    # field is "Konec počítání") and the program ("&Konec", Alt+K).
    xdotool windowfocus --sync "$window" || true
    xdotool key --delay 300 space
    sleep 1
    xdotool type --delay 200 0
    xdotool key Return
    sleep 5
    xdotool key --delay 300 shift+Tab space
    sleep 1
    xdotool key --delay 300 alt+k
    if ! timeout 60 bash -c "while kill -0 $zirmon 2>/dev/null; do sleep 0.5; done"; then
        problems+=("$label: zirmon.exe did not end at \"&Konec\"")
    fi
    wineserver -w
    if [ ! -f "$data/zirmon.ini" ]; then
        problems+=("$label: no zirmon.ini written")
        return 0
    fi
    local ini answered=0 count
    ini=$(iconv -f windows-1250 -t utf-8 "$data/zirmon.ini" | tr -d '\r')
    echo "--- zirmon.ini ($label), from windows-1250:"
    echo "$ini"
    for count in $(sed -n 's/^\(OKnas\|KOnas\)=\([0-9]*\)$/\2/p' <<<"$ini"); do
        answered=$((answered + count))
    done
    [ "$answered" = 1 ] || problems+=("$label: not one multiplication counted ($answered)")
    grep -q '^X=' <<<"$ini" && grep -q '^y=' <<<"$ini" || problems+=("$label: no position written")
    grep -q $'\r$' "$data/zirmon.ini" || problems+=("$label: zirmon.ini without CR LF")
}

echo "=== The zip, unpacked into a new prefix, and its zirmon.exe driven with xdotool"
export WINEPREFIX=$OUT/wine-zip
new_prefix
UNPACKED="$WINEPREFIX/drive_c/zirmon"
mkdir -p "$UNPACKED"
(cd "$UNPACKED" && cmake -E tar xf "$OUT/zirmon-$VERSION-windows.zip")
[ -z "$(ls -A "$(data_folder)" 2>/dev/null)" ] || problems+=("zip: the new prefix has data already")
drive_program "$UNPACKED/zirmon-$VERSION" "C:\\zirmon\\zirmon-$VERSION\\zirmon.exe" zip
wineserver -k 2>/dev/null || true

echo "=== The installer, silently, into another new prefix"
export WINEPREFIX=$OUT/wine-setup
new_prefix
"$WINE" "$OUT/zirmon-$VERSION-setup.exe" /S
wineserver -w
PROGRAM="$WINEPREFIX/drive_c/Program Files/Zirmon"
MENU="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zirmon.lnk"
[ -f "$PROGRAM/zirmon.exe" ] || problems+=("zirmon.exe not installed")
[ -f "$MENU" ] || problems+=("no Start menu entry")

# A settings file left by an earlier version: a password with Czech letters
# in windows-1250, which the program must keep as it is.
DATA=$(data_folder)
mkdir -p "$DATA"
printf '[PASSWD]\r\nUSRPASSWD=\x8El\x75\x9Do\x75\xE8k\xFD k\xF9\xF2\r\n' >"$DATA/zirmon.ini"
echo "=== The installed zirmon.exe, driven with xdotool"
drive_program "$PROGRAM" "C:\\Program Files\\Zirmon\\zirmon.exe" installed
iconv -f windows-1250 -t utf-8 "$DATA/zirmon.ini" | tr -d '\r' | grep -qx 'USRPASSWD=Žluťoučký kůň' ||
    problems+=("installed: the password lost its windows-1250 letters")

echo "=== The uninstaller, silently"
"$WINE" "C:\\Program Files\\Zirmon\\uninstall.exe" /S
wineserver -w
sleep 2
[ ! -e "$PROGRAM/zirmon.exe" ] || problems+=("zirmon.exe left after uninstalling")
[ ! -e "$MENU" ] || problems+=("Start menu entry left after uninstalling")
[ -f "$DATA/zirmon.ini" ] || problems+=("the uninstaller removed the data folder")
zirmon_stop_xvfb
trap - EXIT

if [ ${#failed[@]} -gt 0 ] || [ ${#problems[@]} -gt 0 ]; then
    [ ${#failed[@]} -eq 0 ] || echo "Failed under Wine: ${failed[*]}" >&2
    [ ${#problems[@]} -eq 0 ] || printf 'Zip or installer: %s\n' "${problems[@]}" >&2
    exit 1
fi
echo "Windows build: all tests passed under Wine; the unpacked zip and the installed zirmon.exe drove, each in a new prefix; uninstalled"
