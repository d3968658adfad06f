#!/usr/bin/env bash
# Builds Zirmon for 64-bit Windows on Debian: the cross Qt (once, cached
# outside the clone), then zirmon.exe, the test programs, the sounds, the DLLs
# they load, the installer and the zip, all in build-windows/.
#   tools/windows.sh          everything
#   tools/windows.sh qt       only the cross Qt
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
QT_VERSION=6.4.2
QT_PREFIX=${ZIRMON_QT_WINDOWS:-/var/cache/zirmon/qt-$QT_VERSION-mingw}
QT_WORK=${ZIRMON_QT_WORK:-/var/cache/zirmon/qt-$QT_VERSION-mingw-src}
OUT=${ZIRMON_WINDOWS_BUILD:-$ROOT/build-windows}
JOBS=$(nproc)

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

install_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
}

# A deb-src entry for every deb entry of the machine's own apt sources, so
# that apt-get source finds Debian's qt6-base.
add_source_entries() {
    local list=/etc/apt/sources.list.d/zirmon-deb-src.sources f
    [ -f "$list" ] && return 0
    {
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            sed -n '/^Types:.*\bdeb\b/,/^$/p' "$f" | sed 's/^Types:.*/Types: deb-src/'
            echo
        done
        if [ -f /etc/apt/sources.list ]; then
            # One-line entries become one stanza each.
            awk '$1 == "deb" {
                    opts = ""; i = 2
                    if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                    printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $i, $(i+1)
                    for (j = i + 2; j <= NF; j++) printf " %s", $j
                    printf "\n\n" }' /etc/apt/sources.list
        fi
    } | "${sudo[@]}" tee "$list.new" >/dev/null
    "${sudo[@]}" mv "$list.new" "$list"
    "${sudo[@]}" apt-get update -q
}

build_qt() {
    if [ -f "$QT_PREFIX/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        echo "Cross Qt present in $QT_PREFIX"
        return 0
    fi
    install_packages dpkg-dev cmake ninja-build g++-mingw-w64-x86-64-posix \
        qt6-base-dev qt6-base-dev-tools
    add_source_entries
    "${sudo[@]}" mkdir -p "$QT_WORK"
    "${sudo[@]}" chown "$(id -u):$(id -g)" "$QT_WORK"
    local src
    src=$(find "$QT_WORK" -maxdepth 1 -type d -name "qt6-base-$QT_VERSION*" | head -n1)
    if [ -z "$src" ]; then
        (cd "$QT_WORK" && apt-get source -q "qt6-base=$QT_VERSION*" 2>&1 || apt-get source -q qt6-base)
        src=$(find "$QT_WORK" -maxdepth 1 -type d -name "qt6-base-*" | head -n1)
    fi
    # Without OpenGL the Windows platform plugin of Qt 6.4 still asks the
    # OpenGL module whether it renders in software.
    local win="$src/src/plugins/platforms/windows/qwindowswindow.cpp"
    if ! grep -q "zirmon: no OpenGL" "$win"; then
        perl -0pi -e 's/(isSoftwareGl\(\)\n\{\n)#if QT_CONFIG\(dynamicgl\)\n/$1#if QT_CONFIG(opengl) \&\& QT_CONFIG(dynamicgl) \/\/ zirmon: no OpenGL\n/ or die "isSoftwareGl not found\n"' "$win"
    fi
    rm -rf "$QT_WORK/build"
    cmake -S "$src" -B "$QT_WORK/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/tools/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_printsupport=OFF \
        -DFEATURE_icu=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_tabletevent=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_png=ON -DFEATURE_system_png=OFF \
        -DFEATURE_jpeg=ON -DFEATURE_system_jpeg=OFF \
        -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF \
        -DFEATURE_harfbuzz=ON -DFEATURE_system_harfbuzz=OFF
    cmake --build "$QT_WORK/build" -j"$JOBS"
    cmake --install "$QT_WORK/build"
    rm -rf "$QT_WORK"
}

build_qt
[ "${1:-}" = qt ] && exit 0
