#!/bin/bash
# soundcheck.sh - is the program really heard?
#
# Usage: tools/soundcheck.sh COMMAND [ARGUMENTS...]
#
# Starts a private PulseAudio server with one null sink ("zirmon_test") in a
# temporary HOME / XDG_RUNTIME_DIR, makes it the default sink, records the
# sink's monitor while COMMAND runs, then stops the recorder and the server
# and prints what was heard:
#
#   rms=<RMS amplitude of the whole recording, 0..1>
#   max=<largest amplitude>
#   seconds=<length of the recording>
#
# COMMAND sees PULSE_SERVER (and XDG_RUNTIME_DIR) pointing at the private
# server, so any PulseAudio client, Qt Multimedia included, plays into the
# null sink. The server allows anonymous clients, so a command that sets its
# own HOME still gets in. Silence gives an rms near 0; a clearly audible sound
# gives well above 0.01.
#
# The exit status is that of COMMAND (or 2 when the server or the recorder
# cannot be started). Set SOUNDCHECK_KEEP=FILE to keep the recording as FILE.
# Every process the script starts and its temporary folder are removed on
# exit, also on failure or Ctrl+C.
#
# Example:
#   tools/soundcheck.sh paplay build-media/bad.dat

set -u

if [ $# -eq 0 ]; then
    sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2
    exit 2
fi

for tool in pulseaudio pactl parecord sox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "soundcheck: $tool is missing" >&2
        exit 2
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/soundcheck.XXXXXX") || exit 2
server_pid=
recorder_pid=
command_pid=

# Ends one process we started: politely first, then for good.
stop_process() {
    local pid=$1 signal=$2
    [ -n "$pid" ] || return 0
    kill "-$signal" "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
}

# shellcheck disable=SC2317 # called by the trap
cleanup() {
    stop_process "$command_pid" TERM
    command_pid=
    stop_process "$recorder_pid" INT
    recorder_pid=
    stop_process "$server_pid" TERM
    server_pid=
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/run"
export XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
unset PULSE_SINK PULSE_SOURCE

# -n: no default configuration script, only the two modules named here.
# --system=false keeps a server started by root a per-user one; it only warns.
if ! pulseaudio -D -n --system=false --exit-idle-time=-1 --disallow-exit \
    --use-pid-file=yes --log-target="file:$work/pulseaudio.log" \
    --load="module-null-sink sink_name=zirmon_test" \
    --load="module-native-protocol-unix auth-anonymous=1"; then
    echo "soundcheck: the sound server did not start:" >&2
    cat "$work/pulseaudio.log" >&2 2>/dev/null
    exit 2
fi
pid_file="$XDG_RUNTIME_DIR/pulse/pid"
for _ in $(seq 50); do
    [ -s "$pid_file" ] && pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
server_pid=$(cat "$pid_file" 2>/dev/null)
if [ -z "$server_pid" ] || ! pactl info >/dev/null 2>&1; then
    echo "soundcheck: the sound server does not answer" >&2
    exit 2
fi
pactl set-default-sink zirmon_test || exit 2

recording="$work/recording.wav"
parecord --device=zirmon_test.monitor --latency-msec=50 --file-format=wav "$recording" &
recorder_pid=$!
# Give the recorder time to connect before anything is played.
for _ in $(seq 50); do
    pactl list short source-outputs 2>/dev/null | grep -q . && break
    sleep 0.1
done
if ! kill -0 "$recorder_pid" 2>/dev/null; then
    echo "soundcheck: the recorder did not start" >&2
    recorder_pid=
    exit 2
fi
# A fresh null sink renders its first block of silence two seconds ahead,
# before the recorder asks for a short latency; a sound started in that time
# would be heard that late, and lost when the command ends soon after. Wait
# until the sink keeps up.
for _ in $(seq 40); do
    latency=$(pactl list sinks 2>/dev/null | awk '/^[[:space:]]*Latency:/ {print $2; exit}')
    [ -n "$latency" ] && [ "$latency" -lt 100000 ] && break
    sleep 0.1
done
sleep 0.1

# In the background, so that a signal to this script is handled at once.
"$@" <&0 &
command_pid=$!
wait "$command_pid"
status=$?
command_pid=

# The tail of a sound is still in the server's buffers.
sleep 0.5
stop_process "$recorder_pid" INT
wait "$recorder_pid" 2>/dev/null
recorder_pid=

if [ ! -s "$recording" ]; then
    echo "soundcheck: nothing was recorded" >&2
    echo "rms=0"
    exit "$status"
fi
stats=$(sox "$recording" -n stat 2>&1)
rms=$(printf '%s\n' "$stats" | awk '/^RMS +amplitude:/ {print $3}')
max=$(printf '%s\n' "$stats" | awk '/^Maximum amplitude:/ {print $3}')
seconds=$(printf '%s\n' "$stats" | awk '/^Length \(seconds\):/ {print $3}')
samples=$(printf '%s\n' "$stats" | awk '/^Samples read:/ {print $3}')
# A sink nobody plays into may deliver nothing at all: that is silence too.
if [ "${samples:-0}" = 0 ]; then
    rms=0.000000
    max=0.000000
fi
echo "rms=${rms:-0}"
echo "max=${max:-0}"
echo "seconds=${seconds:-0}"
if [ -n "${SOUNDCHECK_KEEP:-}" ]; then
    cp "$recording" "$SOUNDCHECK_KEEP"
fi
exit "$status"
