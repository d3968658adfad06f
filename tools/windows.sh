#!/usr/bin/env bash
# Builds Zirmon for 64-bit Windows on Debian: the cross Qt (once, cached
# outside the clone), then zirmon.exe, the test programs, the sounds, the DLLs
# they load, the installer and the zip, all in build-windows/.
#   tools/windows.sh          everything, then the tests under Wine
#   tools/windows.sh qt       only the cross Qt
#   tools/windows.sh build    everything but the tests
#   tools/windows.sh test     only the tests under Wine (after a build)
# The tests run every test program under Wine on the offscreen platform,
# except those tests/windows-excluded.txt names, then install the program
# with the installer and drive it once on an X display.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
QT_VERSION=6.4.2
QT_PREFIX=${ZIRMON_QT_WINDOWS:-/var/cache/zirmon/qt-$QT_VERSION-mingw}
QT_WORK=${ZIRMON_QT_WORK:-/var/cache/zirmon/qt-$QT_VERSION-mingw-src}
OUT=${ZIRMON_WINDOWS_BUILD:-$ROOT/build-windows}
JOBS=$(nproc)
# A release build for Windows, with Qt's tools (moc, rcc, uic) of this
# machine: the same for Qt and for the program.
CROSS=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/tools/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)

ZIRMON_ROOT=$ROOT
source "$ROOT/tools/deps.sh"

# A deb-src entry for every deb entry of the machine's own apt sources, so
# that apt-get source finds Debian's qt6-base.
add_source_entries() {
    local list=/etc/apt/sources.list.d/zirmon-deb-src.sources
    [ -f "$list" ] && return 0
    zirmon_apt_deb_entries | sed 's/^Types: deb$/Types: deb-src/' |
        "${ZIRMON_SUDO[@]}" tee "$list.new" >/dev/null
    "${ZIRMON_SUDO[@]}" mv "$list.new" "$list"
    zirmon_apt_get update -q
}

build_qt() {
    if [ -f "$QT_PREFIX/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        echo "Cross Qt present in $QT_PREFIX"
        return 0
    fi
    zirmon_install_packages dpkg-dev cmake ninja-build g++-mingw-w64-x86-64-posix \
        qt6-base-dev qt6-base-dev-tools
    add_source_entries
    # The sources and the installed Qt are the user's, so that a user with
    # sudo builds and installs without it.
    "${ZIRMON_SUDO[@]}" mkdir -p "$QT_WORK" "$QT_PREFIX"
    "${ZIRMON_SUDO[@]}" chown "$(id -u):$(id -g)" "$QT_WORK" "$QT_PREFIX"
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
    cmake -S "$src" -B "$QT_WORK/build" "${CROSS[@]}" \
        -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" \
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
    # Its folder may lie in one that is root's.
    "${ZIRMON_SUDO[@]}" rm -rf "$QT_WORK"
}

# The tools the build runs (the sounds' and the pictures' generators), built
# for this machine.
build_host_tools() {
    zirmon_install_packages cmake make g++ qt6-base-dev qt6-base-dev-tools qt6-svg-dev \
        qt6-multimedia-dev libgl-dev qt6-translations-l10n
    cmake -S "$ROOT" -B "$OUT/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$OUT/host" -j"$JOBS" --target gensound genicon
}

build_zirmon() {
    zirmon_install_packages cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
        qt6-base-dev-tools
    export ZIRMON_QT_WINDOWS="$QT_PREFIX"
    cmake -S "$ROOT" -B "$OUT" "${CROSS[@]}" \
        -DCMAKE_PREFIX_PATH="$QT_PREFIX" \
        -DZIRMON_HOST_TOOLS="$OUT/host"
    cmake --build "$OUT" -j"$JOBS"
}

# The DLLs a program or library imports, as objdump names them.
imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}

# Where a DLL of Qt or of the MinGW runtime lies; nothing for the DLLs of
# Windows itself.
find_dll() {
    local dir
    for dir in "$QT_PREFIX/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib; do
        if [ -f "$dir/$1" ]; then
            echo "$dir/$1"
            return 0
        fi
    done
}

# Copies into folder $1 every DLL the files $2... load, and the DLLs those
# load in turn.
deploy_dlls() {
    local dest=$1 file dll path
    shift
    local queue=("$@")
    declare -A seen=()
    while [ ${#queue[@]} -gt 0 ]; do
        file=${queue[0]}
        queue=("${queue[@]:1}")
        for dll in $(imports "$file"); do
            [ -n "${seen[${dll,,}]:-}" ] && continue
            seen[${dll,,}]=1
            path=$(find_dll "$dll")
            [ -n "$path" ] || continue
            cp -u "$path" "$dest/"
            queue+=("$path")
        done
    done
}

# The plugins Qt loads by name: the window system (windows; offscreen for the
# tests) and the Windows look.
PLUGINS=(platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll)

# Qt's own texts in Czech (the buttons of its boxes, the menu of an edit
# field): the translation files are the same on every system, so the ones of
# this machine's Qt, the same version, serve.
QT_TEXTS=/usr/share/qt6/translations/qtbase_cs.qm

# A qt.conf in folder $1 that puts Qt's prefix at $2 (relative to the
# folder): without it Qt takes the folder above its DLL for the prefix and
# looks there for its translations.
write_qt_conf() {
    printf '[Paths]\r\nPrefix=%s\r\n' "$2" >"$1/qt.conf"
}

stage_files() {
    local stage=$OUT/stage/zirmon-$VERSION plugin
    rm -rf "$OUT/stage"
    mkdir -p "$stage/translations" "$OUT/translations"
    cp "$OUT/zirmon.exe" "$OUT/ok.dat" "$OUT/bad.dat" "$OUT/zirmon.ico" "$stage/"
    cp "$QT_TEXTS" "$stage/translations/"
    cp "$QT_TEXTS" "$OUT/translations/"
    write_qt_conf "$stage" .
    write_qt_conf "$OUT" .
    write_qt_conf "$OUT/tests" ..
    for plugin in "${PLUGINS[@]}"; do
        [ "$plugin" = platforms/qoffscreen.dll ] && continue
        mkdir -p "$stage/$(dirname "$plugin")"
        cp "$QT_PREFIX/plugins/$plugin" "$stage/$plugin"
    done
    deploy_dlls "$stage" "$stage/zirmon.exe" "$stage"/*/*.dll
    # The debugging symbols are of no use to a family: without them the
    # installer and the zip are a third of the size.
    x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
    # The tests find the same DLLs beside the program in the build folder.
    for plugin in "${PLUGINS[@]}"; do
        mkdir -p "$OUT/$(dirname "$plugin")"
        cp -u "$QT_PREFIX/plugins/$plugin" "$OUT/$plugin"
    done
    deploy_dlls "$OUT" "$OUT/zirmon.exe" "$OUT"/tests/*.exe "$OUT"/platforms/*.dll "$OUT"/styles/*.dll
    # What the uninstaller removes: exactly the files staged here.
    (
        cd "$stage"
        find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
        find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
    ) >"$OUT/stage/uninstall-files.nsh"
}

package() {
    zirmon_install_packages nsis
    local stage=$OUT/stage/zirmon-$VERSION
    makensis -V2 -DVERSION="$VERSION" -DSTAGE="$stage" \
        -DOUTFILE="$OUT/zirmon-$VERSION-setup.exe" "$ROOT/packaging/zirmon.nsi"
    rm -f "$OUT/zirmon-$VERSION-windows.zip"
    (cd "$OUT/stage" && cmake -E tar cf "$OUT/zirmon-$VERSION-windows.zip" --format=zip "zirmon-$VERSION")
    ls -l "$OUT/zirmon-$VERSION-setup.exe" "$OUT/zirmon-$VERSION-windows.zip"
}

VERSION=$(sed -n 's/^project(Zirmon VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
case "${1:-all}" in
qt)
    build_qt
    ;;
build | all)
    build_qt
    build_host_tools
    build_zirmon
    stage_files
    package
    if [ "${1:-all}" = all ]; then "$ROOT/tools/winetest.sh"; fi
    ;;
test)
    "$ROOT/tools/winetest.sh"
    ;;
*)
    echo "usage: $0 [qt|build|test]" >&2
    exit 2
    ;;
esac
