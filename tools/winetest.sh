#!/usr/bin/env bash
# Runs the Windows build (tools/windows.sh) under Wine with a Czech locale, so
# that the ANSI code page is windows-1250:
#  1. every test program on the offscreen platform, except the programs,
#     functions and rows tests/windows-excluded.txt names;
#  2. the installer, silently, then the installed zirmon.exe on an X display
#     (Xvfb), driven with xdotool: one problem answered, "&Konec" pressed, and
#     zirmon.ini checked in the roaming application-data folder;
#  3. the uninstaller, silently, which leaves the data folder alone.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${ZIRMON_WINDOWS_BUILD:-$ROOT/build-windows}
VERSION=$(sed -n 's/^project(Zirmon VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
packages=(wine wine64 locales xvfb xauth xdotool)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
fi
if ! locale -a | grep -qix 'cs_CZ.utf8'; then
    if grep -q '^# *cs_CZ.UTF-8 UTF-8' /etc/locale.gen; then
        "${sudo[@]}" sed -i 's/^# *\(cs_CZ.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    else
        echo "cs_CZ.UTF-8 UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo[@]}" locale-gen
fi

export LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8
export WINEPREFIX=$OUT/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
WINE=wine
# A prefix of its own for every run: nothing from an earlier one counts.
rm -rf "$WINEPREFIX"
"$WINE" wineboot -i >/dev/null 2>&1
wineserver -w

# --- 1. The test programs -------------------------------------------------
EXCLUDED=$ROOT/tests/windows-excluded.txt
export WINEPATH
WINEPATH=$(winepath -w "$OUT")
export QT_PLUGIN_PATH=$OUT
export QT_QPA_PLATFORM="offscreen:configfile=$ROOT/tests/offscreen.json"

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
    if (cd "$OUT/tests" && timeout 900 "$WINE" "$exe" "${args[@]}" >"$LOGS/$name.txt" 2>&1); then
        result=passed
    else
        result=FAILED
        failed+=("$name")
    fi
    echo "$name: $result, $(tr -d '\r' <"$LOGS/$name.txt" | grep -m1 '^Totals' || echo 'no totals')"
    tr -d '\r' <"$LOGS/$name.txt" | grep -A2 '^FAIL' || true
done
echo "Tests under Wine: $(($(date +%s) - start)) s"
if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed under Wine: ${failed[*]}" >&2
    exit 1
fi
