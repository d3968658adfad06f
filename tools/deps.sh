# Shared by run.sh, test.sh and .ci/run: installs the Debian packages the
# build and the tests need, and nothing else. Quick when all are present.
ZIRMON_PACKAGES=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev qt6-multimedia-dev
    qt6-translations-l10n libgl-dev
    fonts-dejavu-core fonts-liberation2
    xvfb xauth pulseaudio pulseaudio-utils sox libxcb1-dev
    desktop-file-utils appstream dpkg-dev file xdotool
    clang libclang-rt-14-dev valgrind
)

zirmon_install_deps() {
    local missing=()
    local p
    for p in "${ZIRMON_PACKAGES[@]}"; do
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

# Configures and builds one build folder: zirmon_build DIR TYPE [cmake args...]
zirmon_build() {
    local dir=$1 type=$2
    shift 2
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$ZIRMON_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" || return 1
    fi
    cmake --build "$dir" -j"$(nproc)"
}
