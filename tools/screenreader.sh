#!/usr/bin/env bash
# screenreader.sh - does a screen reader speak what a child needs to drill?
#
# Usage: tools/screenreader.sh [FOLDER]
#
# Installs the reader's packages (tools/deps.sh, zirmon_install_deps reader),
# builds the program (build/, or $ZIRMON_BUILD), then starts, all private to
# this run: an X server (Xvfb), a D-Bus session with the accessibility bus,
# speech-dispatcher whose only voice appends each utterance with its time to
# a file, and Orca (debug log on) in a temporary home. The program runs with
# accessibility on and an empty data folder; xdotool alone drives it:
#
#   1. addition: the problem must be spoken; a right answer: "Správně", and
#      the time from the Enter to the word; the next problem after the pause;
#      a wrong answer: "Špatně" with the solution ("7 plus 5 rovná se
#      12"); the next problem again;
#   2. the tally grid: a count with its row and column titles;
#   3. the list window: its lines, read by Orca's say-all;
#   4. the reset with the protection on: the gate's warning on a wrong
#      password.
#
# The spoken log and Orca's debug log stay in FOLDER (default: a temporary
# folder, named at the end). Exit status 0 when everything was spoken.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

ZIRMON_ROOT=$ROOT
source "$ROOT/tools/deps.sh"
zirmon_install_deps reader
BUILD=${ZIRMON_BUILD:-$ROOT/build}
zirmon_build "$BUILD" Release -- zirmon >/dev/null

work=${1:-$(mktemp -d "${TMPDIR:-/tmp}/screenreader.XXXXXX")}
mkdir -p "$work"
work=$(cd "$work" && pwd)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
}
trap cleanup EXIT
fail() {
    echo "screenreader: FAILED: $*" >&2
    echo "--- spoken:" >&2
    cat "$spoken" >&2 || true
    exit 1
}

# A home of its own: nothing of the real home is read or written.
export HOME="$work/home" XDG_DATA_HOME="$work/home/share" XDG_CONFIG_HOME="$work/home/config"
export XDG_CACHE_HOME="$work/home/cache" XDG_RUNTIME_DIR="$work/runtime"
rm -rf "$HOME" "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_DATA_HOME/zirmon" "$XDG_CONFIG_HOME/speech-dispatcher/modules" "$XDG_CACHE_HOME"
mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY
export LANG=C.UTF-8 LC_ALL=C.UTF-8 NO_AT_BRIDGE=0 GTK_MODULES=

# The voice: each utterance, with the time in seconds, on a line of its own.
spoken="$work/spoken.log"
: >"$spoken"
cat >"$work/say" <<EOF
#!/bin/sh
printf '%s %s\n' "\$(date +%s.%N)" "\$*" | tr -s '\n' >>"$spoken"
EOF
chmod +x "$work/say"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<EOF
LogLevel 3
LogDir "$work/speechd"
DefaultLanguage "cs"
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "zapis" "sd_generic" "zapis.conf"
DefaultModule "zapis"
LanguageDefaultModule "cs" "zapis"
LanguageDefaultModule "en" "zapis"
LanguageDefaultModule "c" "zapis"
EOF
cat >"$XDG_CONFIG_HOME/speech-dispatcher/modules/zapis.conf" <<EOF
GenericExecuteSynth "$work/say \'\$DATA\'"
GenericCmdDependency "sh"
GenericRecodeFallback "?"
AddVoice "cs" "MALE1" "cs"
AddVoice "en" "MALE1" "en"
GenericLanguage "cs" "cs" "utf-8"
GenericLanguage "en" "en" "utf-8"
# A newer Orca under LANG=C.UTF-8 asks for the language "c".
GenericLanguage "c" "c" "utf-8"
EOF
mkdir -p "$work/speechd"

# Orca: echo of keys off, so that the log holds what the program says.
mkdir -p "$XDG_DATA_HOME/orca"
cat >"$XDG_DATA_HOME/orca/user-settings.conf" <<'EOF'
{
    "general": {
        "enableKeyEcho": false,
        "enableEchoByCharacter": false,
        "enableEchoByWord": false,
        "enableTutorialMessages": false,
        "speechServerFactory": "orca.speechdispatcherfactory",
        "speechServerInfo": null,
        "enableSpeech": true,
        "verbalizePunctuationStyle": 3,
        "sayAllStyle": 0,
        "orcaModifierKeys": ["Insert", "KP_Insert"],
        "keyboardLayout": 1,
        "activeProfile": ["Default", "default"],
        "startingProfile": ["Default", "default"],
        "profile": ["Default", "default"]
    },
    "keybindings": {},
    "pronunciations": {},
    "profiles": {
        "default": {
            "profile": ["Default", "default"]
        }
    }
}
EOF

# The X server on a free display.
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -auth /dev/null >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 5>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

# The session bus; the accessibility bus and its registry come by activation.
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
pids+=("$(sed -n 2p <<<"$bus")")
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && launcher=$candidate && break
done
[ -n "$launcher" ] || fail "no at-spi-bus-launcher"
"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
gsettings set org.gnome.desktop.interface toolkit-accessibility true 2>/dev/null || true

# The speech server in the foreground, so that it ends with this run.
speech-dispatcher --run-single --timeout 0 >"$work/speechd.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] && break
    sleep 0.1
done
orca --replace --debug-file="$work/orca-debug.out" >"$work/orca.log" 2>&1 &
pids+=($!)
for _ in $(seq 150); do
    [ -s "$spoken" ] && break
    sleep 0.1
done
[ -s "$spoken" ] || fail "Orca said nothing at its start"
sleep 1

# Before the program: settings with the protection on and a password.
printf '[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=tajne\r\n' >"$XDG_DATA_HOME/zirmon/zirmon.ini"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$BUILD/zirmon" >"$work/zirmon.log" 2>&1 &
app=$!
pids+=("$app")
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zirmon 4\.0$' | head -n 1) ||
    fail "no main window"
xdotool windowfocus --sync "$window"
sleep 2

mark() { wc -l <"$spoken"; }
# The utterances since the mark, without their times, runs of blanks as one.
since() { tail -n +"$(($1 + 1))" "$spoken" | cut -d ' ' -f 2- | tr -s ' '; }
# The time of the first utterance since mark $1 that holds $2.
when() { tail -n +"$(($1 + 1))" "$spoken" | grep -m 1 -F -- "$2" | cut -d ' ' -f 1; }
# Waits up to $2 seconds for an utterance since mark $1 that matches $3
# (grep -E; with $4 = -F, that holds it as it is).
heard() {
    local from=$1 seconds=$2 pattern=$3 how=${4:--E} i
    for i in $(seq $((seconds * 10))); do
        since "$from" | grep -q "$how" -- "$pattern" && return 0
        sleep 0.1
    done
    return 1
}
# A problem ends with "rovná se"; a solution said with a verdict goes on
# with its result.
problem='[0-9]+ (plus|minus|krát|děleno) [0-9]+ rovná se\.?$'
# The answer to the last problem spoken since the mark.
answer() {
    local words
    words=$(since "$1" | grep -oE -- "$problem" | tail -n 1)
    set -- $words
    case $2 in
    plus) echo $(($1 + $3)) ;;
    minus) echo $(($1 - $3)) ;;
    krát) echo $(($1 * $3)) ;;
    děleno) echo $(($1 / $3)) ;;
    esac
}

# 1. Addition: Tab twice from "Násobení" to "Sčítání", Enter.
m=$(mark)
xdotool key Tab Tab Return
heard "$m" 5 "$problem" || fail "the first problem was not spoken"
right=$(answer "$m")
echo "screenreader: problem: $(since "$m" | grep -oE -- "$problem" | tail -n 1)"
m=$(mark)
xdotool type --delay 30 "$right"
sleep 0.3
m=$(mark)
enter=$(date +%s.%N)
xdotool key Return
heard "$m" 2 'Správně' || fail "the right answer's verdict was not spoken"
said=$(when "$m" 'Správně')
delay=$(awk -v a="$enter" -v b="$said" 'BEGIN { printf "%.3f", b - a }')
echo "screenreader: Enter to \"Správně\": $delay s"
heard "$m" 5 "$problem" || fail "no problem spoken after the pause"
sleep 0.5
m=$(mark)
wrong=$(($(answer 0) + 1))
xdotool type --delay 30 "$wrong"
sleep 0.3
m=$(mark)
enter=$(date +%s.%N)
xdotool key Return
heard "$m" 2 'Špatně' || fail "the wrong answer's verdict was not spoken"
heard "$m" 2 "rovná se $((wrong - 1))" || fail "the solution was not spoken with the verdict"
said=$(when "$m" 'Špatně')
delay2=$(awk -v a="$enter" -v b="$said" 'BEGIN { printf "%.3f", b - a }')
echo "screenreader: Enter to \"Špatně\": $delay2 s"
heard "$m" 5 "$problem" || fail "no problem spoken after the second pause"
sleep 0.5

# "Konec počítání" is just before the answer field; then Shift+Tab on to the
# tally grid ("Náhodný výběr", panel and totals lie between), Down to a count.
xdotool key shift+Tab space
sleep 1
m=$(mark)
for _ in 1 2 3 4 5 6; do
    xdotool key Tab
    sleep 0.3
    since "$m" | grep -q 'Tabulka výsledků' && break
done
heard "$m" 2 'Tabulka výsledků' || fail "the tally grid was not reached by Tab"
xdotool key ctrl+Home
sleep 0.3
m=$(mark)
xdotool key Down Right Right
heard "$m" 3 'Sčítání, Dobře, 1' || fail "the grid's count was not spoken with its titles"

# 3. The list window: Alt+O, Right to "Příklady", Enter; say-all (KP_Add).
# The menu's first item is spoken once it opens.
for _ in 1 2 3; do
    m=$(mark)
    xdotool keydown alt
    sleep 0.2
    xdotool key o
    sleep 0.2
    xdotool keyup alt
    heard "$m" 2 'Informace' -F && break
    xdotool key Escape
    sleep 0.5
done
heard "$m" 1 'Informace' -F || fail "the menu did not open with Alt+O"
m=$(mark)
xdotool key Right
heard "$m" 2 'Příklady' -F || fail "Right did not reach \"Příklady\""
xdotool key Return
heard "$m" 3 'Špatně vypočítané příklady' -F || fail "the list window was not spoken"
sleep 1
m=$(mark)
xdotool key KP_Add
line=$(grep -m 1 '=' "$XDG_DATA_HOME/zirmon/priklad.dat" | tr -d '\r' | tr -s ' ') ||
    fail "no wrong answer in the list file"
heard "$m" 8 "Špatně vypočítané příklady" -F || fail "say-all did not read the list's title"
heard "$m" 8 "$line" -F || fail "say-all did not read the wrong answer's line \"$line\""
xdotool key Escape
sleep 1

# 4. The reset (Alt+V) with the protection on: a wrong password.
xdotool windowfocus --sync "$window"
m=$(mark)
xdotool key alt+v
sleep 1.5
xdotool type --delay 30 spatne
xdotool key Return
heard "$m" 5 'Heslo bylo zadáno špatně' || fail "the gate's warning was not spoken"
xdotool key Return
sleep 0.5

echo "screenreader: spoken log ($spoken):"
sed 's/^/    /' "$spoken"
echo "screenreader: all spoken; verdicts after $delay s and $delay2 s; logs in $work"
