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
SUDO=()
[ "$(id -u)" -ne 0 ] && SUDO=(sudo)

# The first Debian archive address in this machine's apt sources: the one
# serving this machine's own release, in either source format.
archive_address() {
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk -v c="$codename" '$1 == "deb" {
                i = 2; if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                if ($(i + 1) == c) { print $i; exit }
            }' "$f"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # deb822 stanzas are separated by empty lines.
        awk -v c="$codename" 'BEGIN { RS = ""; FS = "\n" } {
                uri = ""; ok = 0; deb = 0
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^URIs:/) { split($i, u, /[ \t]+/); uri = u[2] }
                    if ($i ~ /^Types:/ && $i ~ /[ \t]deb([ \t]|$)/) deb = 1
                    if ($i ~ /^Suites:/) {
                        n = split($i, s, /[ \t]+/)
                        for (j = 2; j <= n; j++) if (s[j] == c) ok = 1
                    }
                }
                if (deb && ok && uri != "") { print uri; exit }
            }' "$f"
    done
}

NEEDED=()
[ -x /usr/sbin/debootstrap ] || NEEDED+=(debootstrap)
command -v git >/dev/null || NEEDED+=(git)
if [ ${#NEEDED[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    "${SUDO[@]}" apt-get update -q
    "${SUDO[@]}" apt-get install -y -q --no-install-recommends "${NEEDED[@]}"
fi

if [ ! -f "$TARGET/etc/zirmon-root-ready" ]; then
    ARCHIVE=$(archive_address | head -n 1)
    if [ -z "$ARCHIVE" ]; then
        echo "No Debian archive found in this machine's apt sources" >&2
        exit 1
    fi
    echo "=== Making a Debian 13 root in $TARGET from $ARCHIVE"
    "${SUDO[@]}" rm -rf "$TARGET.new"
    "${SUDO[@]}" mkdir -p "$(dirname "$TARGET")"
    "${SUDO[@]}" debootstrap --variant=minbase trixie "$TARGET.new" "$ARCHIVE"
    "${SUDO[@]}" touch "$TARGET.new/etc/zirmon-root-ready"
    "${SUDO[@]}" rm -rf "$TARGET"
    "${SUDO[@]}" mv "$TARGET.new" "$TARGET"
fi

MOUNTED=()
unmount_all() {
    local i
    for ((i = ${#MOUNTED[@]} - 1; i >= 0; i--)); do
        "${SUDO[@]}" umount -R "${MOUNTED[i]}" || "${SUDO[@]}" umount -lR "${MOUNTED[i]}" || true
    done
}
trap unmount_all EXIT
for d in proc sys dev; do
    "${SUDO[@]}" mkdir -p "$TARGET/$d"
    if ! mountpoint -q "$TARGET/$d"; then
        "${SUDO[@]}" mount --rbind "/$d" "$TARGET/$d"
        "${SUDO[@]}" mount --make-rslave "$TARGET/$d"
        MOUNTED+=("$TARGET/$d")
    fi
done
"${SUDO[@]}" cp -L /etc/resolv.conf "$TARGET/etc/resolv.conf" 2>/dev/null || true

# A clean clone of what is committed, made again on every run.
CLONE=/root/zirmon
"${SUDO[@]}" rm -rf "$TARGET$CLONE"
"${SUDO[@]}" git clone -q "$ROOT" "$TARGET$CLONE"
echo "=== ./test.sh in Debian 13 ($(cat "$TARGET/etc/debian_version"))"
"${SUDO[@]}" chroot "$TARGET" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c 'cd "$1" && shift && ./test.sh "$@"' test "$CLONE" "$@"
