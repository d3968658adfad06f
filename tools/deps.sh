# Shared by run.sh, test.sh and .ci/run: installs the Debian packages that
# building and running the program need (zirmon_install_deps) or, for the
# tests, those and what the tests need besides (zirmon_install_deps test).
# Quick when all are present. Works on Debian 12 and Debian 13; where a
# package is named differently the name is chosen by the release.

# The release's number from /etc/os-release (empty when unknown).
zirmon_debian_release() {
    (. /etc/os-release 2>/dev/null && echo "${VERSION_ID:-}")
}

# Names that differ between the releases.
case "$(zirmon_debian_release)" in
12) ZIRMON_CLANG_RT=libclang-rt-14-dev ;;
*) ZIRMON_CLANG_RT=libclang-rt-19-dev ;; # Debian 13 and later
esac

# Building and running the program.
ZIRMON_PACKAGES=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev qt6-multimedia-dev
    qt6-translations-l10n libgl-dev
    fonts-dejavu-core fonts-liberation2
)
# The tests, the package test, fuzzing and valgrind.
ZIRMON_TEST_PACKAGES=(
    xvfb xauth pulseaudio pulseaudio-utils sox libxcb1-dev
    desktop-file-utils appstream dpkg-dev file xdotool
    clang "$ZIRMON_CLANG_RT" valgrind
    weston xwayland qt6-wayland
    qt6-base-private-dev # tst_access switches accessibility on
)
# The screen reader check (tools/screenreader.sh): a reader, its speech
# server and the accessibility bus, driven under a private X server.
ZIRMON_READER_PACKAGES=(
    orca speech-dispatcher at-spi2-core dbus dbus-x11 xvfb xauth xdotool
)

zirmon_install_deps() {
    local wanted=("${ZIRMON_PACKAGES[@]}")
    [ "${1:-}" = test ] && wanted+=("${ZIRMON_TEST_PACKAGES[@]}")
    [ "${1:-}" = reader ] && wanted+=("${ZIRMON_READER_PACKAGES[@]}")
    local missing=()
    local p
    for p in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q || return 1
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures one build folder and builds the given targets (all when none):
# zirmon_build DIR TYPE [cmake args...] [-- targets...]
zirmon_build() {
    local dir=$1 type=$2
    shift 2
    local args=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        args+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$ZIRMON_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "${args[@]}" || return 1
    fi
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}
