#!/usr/bin/env bash
# Runs ./test.sh from a clean clone of this repository inside a Debian 13
# (trixie) root, made once with debootstrap and kept outside the clone for
# the next run. The package archive is the one this machine's apt already
# uses. Extra arguments go to test.sh (and so to ctest).
#
#   ZIRMON_TRIXIE_ROOT   where the root lives (/var/cache/zirmon/trixie-root)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TARGET=${ZIRMON_TRIXIE_ROOT:-/var/cache/zirmon/trixie-root}
ZIRMON_ROOT=$ROOT
source "$ROOT/tools/deps.sh"
zirmon_install_packages debootstrap git

if [ ! -f "$TARGET/etc/zirmon-root-ready" ]; then
    # The archive serving this machine's own release, in its apt sources.
    ARCHIVE=$(zirmon_archive_address "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")")
    if [ -z "$ARCHIVE" ]; then
        echo "No Debian archive found in this machine's apt sources" >&2
        exit 1
    fi
    echo "=== Making a Debian 13 root in $TARGET from $ARCHIVE"
    "${ZIRMON_SUDO[@]}" rm -rf "$TARGET.new"
    "${ZIRMON_SUDO[@]}" mkdir -p "$(dirname "$TARGET")"
    "${ZIRMON_SUDO[@]}" debootstrap --variant=minbase trixie "$TARGET.new" "$ARCHIVE"
    "${ZIRMON_SUDO[@]}" touch "$TARGET.new/etc/zirmon-root-ready"
    "${ZIRMON_SUDO[@]}" rm -rf "$TARGET"
    "${ZIRMON_SUDO[@]}" mv "$TARGET.new" "$TARGET"
fi

MOUNTED=()
unmount_all() {
    local i
    for ((i = ${#MOUNTED[@]} - 1; i >= 0; i--)); do
        "${ZIRMON_SUDO[@]}" umount -R "${MOUNTED[i]}" || "${ZIRMON_SUDO[@]}" umount -lR "${MOUNTED[i]}" || true
    done
}
trap unmount_all EXIT
for d in proc sys dev; do
    "${ZIRMON_SUDO[@]}" mkdir -p "$TARGET/$d"
    if ! mountpoint -q "$TARGET/$d"; then
        "${ZIRMON_SUDO[@]}" mount --rbind "/$d" "$TARGET/$d"
        "${ZIRMON_SUDO[@]}" mount --make-rslave "$TARGET/$d"
        MOUNTED+=("$TARGET/$d")
    fi
done
"${ZIRMON_SUDO[@]}" cp -L /etc/resolv.conf "$TARGET/etc/resolv.conf" 2>/dev/null || true

# A clean clone of what is committed, made again on every run.
CLONE=/root/zirmon
"${ZIRMON_SUDO[@]}" rm -rf "$TARGET$CLONE"
"${ZIRMON_SUDO[@]}" git clone -q "$ROOT" "$TARGET$CLONE"
echo "=== ./test.sh in Debian 13 ($(cat "$TARGET/etc/debian_version"))"
"${ZIRMON_SUDO[@]}" chroot "$TARGET" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c 'cd "$1" && shift && ./test.sh "$@"' test "$CLONE" "$@"
