#!/usr/bin/env bash
# The README's commands on new computers. For each Debian release named, a
# root as "debootstrap --variant=minbase" makes it is unpacked fresh for this
# run (from a tarball kept in the cache folder and checked against its
# checksum; made again when it is missing or does not match), so nothing an
# earlier run installed is there. A clean clone of what is committed goes in,
# and ./run.sh runs there on the offscreen platform until the program's main
# window is on screen; then the program is ended. A release named with
# "+test" runs ./test.sh after it, in the same clone. The roots are worked on
# side by side; a failure names the root and shows the end of its log.
#
# Usage: tools/freshroot.sh [RELEASE[+test] ...]   (default: bookworm trixie+test)
#   ZIRMON_ROOT_CACHE    the tarballs and downloaded packages (/var/cache/zirmon)
#   ZIRMON_FRESH_LOGS    where the logs stay (a new temporary folder)
#   ZIRMON_FRESH_TIMEOUT seconds ./run.sh may take to show the window (2400)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ZIRMON_ROOT=$ROOT
source "$ROOT/tools/deps.sh"
zirmon_install_packages debootstrap git

CACHE=${ZIRMON_ROOT_CACHE:-/var/cache/zirmon}
LOGS=${ZIRMON_FRESH_LOGS:-$(mktemp -d "${TMPDIR:-/tmp}/zirmon-fresh-logs.XXXXXX")}
TIMEOUT=${ZIRMON_FRESH_TIMEOUT:-2400}
RELEASES=("$@")
[ ${#RELEASES[@]} -gt 0 ] || RELEASES=(bookworm trixie+test)
"${ZIRMON_SUDO[@]}" mkdir -p "$CACHE" "$LOGS"

ARCHIVE=$(zirmon_archive_address "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")")
if [ -z "$ARCHIVE" ]; then
    echo "No Debian archive found in this machine's apt sources" >&2
    exit 1
fi

# The cached minbase tarball of release $1, made when missing or damaged.
minbase_tarball() {
    local release=$1 tarball=$CACHE/$1-minbase.tar
    if (cd "$CACHE" && sha256sum --quiet -c "$release-minbase.tar.sha256") >/dev/null 2>&1; then
        echo "$tarball"
        return 0
    fi
    local made
    made=$(mktemp -d "$CACHE/$release-debootstrap.XXXXXX")
    echo "Making a minbase root of $release from $ARCHIVE" >&2
    if ! "${ZIRMON_SUDO[@]}" debootstrap --variant=minbase "$release" "$made" "$ARCHIVE" >&2; then
        "${ZIRMON_SUDO[@]}" rm -rf "$made"
        return 1
    fi
    "${ZIRMON_SUDO[@]}" tar -C "$made" --numeric-owner -cf "$tarball.new" .
    "${ZIRMON_SUDO[@]}" rm -rf "$made"
    "${ZIRMON_SUDO[@]}" mv "$tarball.new" "$tarball"
    (cd "$CACHE" && sha256sum "$release-minbase.tar") |
        "${ZIRMON_SUDO[@]}" tee "$tarball.sha256" >/dev/null
    echo "$tarball"
}

# Runs a command as root inside the root $1, with a clean environment.
in_root() {
    local target=$1
    shift
    "${ZIRMON_SUDO[@]}" chroot "$target" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# The seconds since $1 (from date +%s).
since() { echo $(($(date +%s) - $1)); }

# One release: unpack, clone, ./run.sh until the window shows, maybe
# ./test.sh. Writes $LOGS/RELEASE.log (what the commands printed) and
# $LOGS/RELEASE.times (the figures); returns non-zero with the reason on
# standard error when anything fails.
fresh_run() {
    local release=${1%+test} test=
    [ "$1" != "$release" ] && test=1
    local log=$LOGS/$release.log times=$LOGS/$release.times
    : >"$log"
    : >"$times"
    local start tarball target
    start=$(date +%s)
    tarball=$(minbase_tarball "$release" 2>>"$log") || { echo "debootstrap failed" >&2; return 1; }
    target=$(mktemp -d "${TMPDIR:-/var/tmp}/zirmon-fresh-$release.XXXXXX")
    local mounted=()
    cleanup() {
        local i
        for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
            "${ZIRMON_SUDO[@]}" umount -R "${mounted[i]}" 2>/dev/null ||
                "${ZIRMON_SUDO[@]}" umount -lR "${mounted[i]}" || true
        done
        "${ZIRMON_SUDO[@]}" rm -rf --one-file-system "$target"
    }
    trap cleanup RETURN
    "${ZIRMON_SUDO[@]}" tar -C "$target" -xpf "$tarball"
    echo "root $release: $(cat "$target/etc/debian_version"), unpacked in $(since "$start") s" >>"$times"
    local d
    for d in proc sys dev; do
        "${ZIRMON_SUDO[@]}" mount --rbind "/$d" "$target/$d"
        "${ZIRMON_SUDO[@]}" mount --make-rslave "$target/$d"
        mounted+=("$target/$d")
    done
    # Downloaded packages are kept for the next run (not installed: the
    # root itself is new each time).
    "${ZIRMON_SUDO[@]}" mkdir -p "$CACHE/apt-$release/partial"
    "${ZIRMON_SUDO[@]}" mount --bind "$CACHE/apt-$release" "$target/var/cache/apt/archives"
    mounted+=("$target/var/cache/apt/archives")
    "${ZIRMON_SUDO[@]}" cp -L /etc/resolv.conf "$target/etc/resolv.conf" 2>/dev/null || true
    local clone=/root/zirmon
    "${ZIRMON_SUDO[@]}" git clone -q "$ROOT" "$target$clone"

    # ./run.sh, as a new user types it; its window is reported on the
    # category zirmon.start.
    local t0 configured= built= shown= pid targets=0 n
    t0=$(date +%s)
    setsid "${ZIRMON_SUDO[@]}" chroot "$target" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES=zirmon.start.info=true \
        /bin/bash -c "cd $clone && ./run.sh" >>"$log" 2>&1 </dev/null &
    pid=$!
    while kill -0 "$pid" 2>/dev/null && [ "$(since "$t0")" -lt "$TIMEOUT" ]; do
        [ -z "$configured" ] && grep -q '^-- The CXX compiler identification' "$log" && configured=$(since "$t0")
        # The build ends with the last target built before the window.
        n=$(grep -c '^\[ *[0-9]*%\] Built target' "$log" || true)
        [ "$n" != "$targets" ] && targets=$n && built=$(since "$t0")
        if grep -q 'zirmon.start: main window on screen' "$log"; then
            shown=$(since "$t0")
            break
        fi
        sleep 1
    done
    local status=running
    kill -0 "$pid" 2>/dev/null || { status=0 && wait "$pid" || status=$?; }
    # The program (run.sh ends in it) and everything it started.
    "${ZIRMON_SUDO[@]}" kill -TERM -- "-$pid" 2>/dev/null || true
    sleep 2
    "${ZIRMON_SUDO[@]}" kill -KILL -- "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [ -z "$shown" ]; then
        if [ "$status" = running ]; then
            echo "./run.sh showed no window in $(since "$t0") s" >&2
        else
            echo "./run.sh ended with status $status after $(since "$t0") s, showing no window" >&2
        fi
        return 1
    fi
    echo "./run.sh in $release: packages ${configured:-?} s, build $((${built:-0} - ${configured:-0})) s, window $((shown - ${built:-0})) s after it, $shown s in all" >>"$times"

    if [ -n "$test" ]; then
        t0=$(date +%s)
        echo "=== ./test.sh" >>"$log"
        if ! in_root "$target" /bin/bash -c "cd $clone && ./test.sh" >>"$log" 2>&1 </dev/null; then
            echo "./test.sh failed after $(since "$t0") s" >&2
            return 1
        fi
        echo "./test.sh in $release after ./run.sh: $(since "$t0") s ($(grep -o '[0-9]*% tests passed.*' "$log" | tail -n 1))" >>"$times"
    fi
}

pids=()
for release in "${RELEASES[@]}"; do
    (fresh_run "$release" 2>"$LOGS/${release%+test}.failure") &
    pids+=($!)
done
failed=0
for i in "${!RELEASES[@]}"; do
    release=${RELEASES[i]%+test}
    if wait "${pids[i]}"; then
        cat "$LOGS/$release.times"
    else
        failed=1
        echo "=== FAILED in the fresh $release root: $(cat "$LOGS/$release.failure")" >&2
        cat "$LOGS/$release.times" >&2
        echo "--- the last lines of $LOGS/$release.log:" >&2
        tail -n 40 "$LOGS/$release.log" >&2
    fi
done
echo "Logs: $LOGS"
exit $failed
