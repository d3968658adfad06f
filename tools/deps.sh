# Shared by run.sh, test.sh and the scripts in tools/ and bench/: installs the
# Debian packages that building and running the program need
# (zirmon_install_deps) or, for the tests, those and what the tests need
# besides (zirmon_install_deps test), or any others (zirmon_install_packages).
# Quick when all are present. Works on Debian 12 and Debian 13; where a
# package is named differently the name is chosen by the release. Also the
# one reader of apt's sources and the private X server of the scripts.

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

# Root runs system commands itself, anybody else through sudo:
# "${ZIRMON_SUDO[@]}" apt-get ...
ZIRMON_SUDO=()
[ "$(id -u)" -ne 0 ] && ZIRMON_SUDO=(sudo)

# apt-get as root, one at a time among this project's scripts: CI builds the
# cross Qt in the background while other stages install, and a second
# "apt-get update" fails at once on apt's own lock instead of waiting.
zirmon_apt_get() {
    if command -v flock >/dev/null; then
        "${ZIRMON_SUDO[@]}" flock /var/lock/zirmon-apt.lock apt-get "$@"
    else
        "${ZIRMON_SUDO[@]}" apt-get "$@"
    fi
}

# Installs those of the named packages that are not installed yet; quick when
# all are. Waits for another apt that holds the lock.
zirmon_install_packages() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    zirmon_apt_get update -q || return 1
    zirmon_apt_get -o DPkg::Lock::Timeout=900 install -y -q \
        --no-install-recommends "${missing[@]}"
}

zirmon_install_deps() {
    local wanted=("${ZIRMON_PACKAGES[@]}")
    [ "${1:-}" = test ] && wanted+=("${ZIRMON_TEST_PACKAGES[@]}")
    [ "${1:-}" = reader ] && wanted+=("${ZIRMON_READER_PACKAGES[@]}")
    zirmon_install_packages "${wanted[@]}"
}

# Every "deb" entry of this machine's apt sources, in both formats (one-line
# in sources.list and *.list, deb822 in *.sources), as deb822 stanzas with
# "Types: deb" and the entry's other fields (a one-line entry's URI, suite,
# components and its signed-by and arch options); disabled stanzas left out.
zirmon_apt_deb_entries() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk '$1 == "deb" {
                i = 2; opts = ""
                if ($2 ~ /^\[/) {
                    while (i <= NF) { opts = opts " " $i; if ($i ~ /\]$/) break; i++ }
                    i++
                }
                gsub(/[][]/, "", opts)
                printf "Types: deb\nURIs: %s\nSuites: %s\nComponents:", $i, $(i + 1)
                for (j = i + 2; j <= NF && $j !~ /^#/; j++) printf " %s", $j
                printf "\n"
                n = split(opts, o, /[ \t]+/)
                for (j = 1; j <= n; j++) {
                    if (o[j] ~ /^signed-by=/) printf "Signed-By: %s\n", substr(o[j], 11)
                    if (o[j] ~ /^arch=/) printf "Architectures: %s\n", substr(o[j], 6)
                }
                printf "\n"
            }' "$f"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # Stanzas are separated by empty lines; a line that begins with a
        # blank continues the field before it.
        awk 'BEGIN { RS = ""; FS = "\n" } {
                deb = 0; enabled = 1
                for (i = 1; i <= NF; i++) {
                    if (tolower($i) ~ /^types:/ && $i ~ /[ \t]deb([ \t]|$)/) deb = 1
                    if (tolower($i) ~ /^enabled:[ \t]*no/) enabled = 0
                }
                if (!deb || !enabled) next
                print "Types: deb"
                keep = 0
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^#/) continue
                    if ($i !~ /^[ \t]/) keep = tolower($i) !~ /^(types|enabled):/
                    if (keep) print $i
                }
                print ""
            }' "$f"
    done
}

# The first Debian archive address in this machine's apt sources that serves
# the given release (a codename, as "bookworm").
zirmon_archive_address() {
    zirmon_apt_deb_entries | awk -v c="$1" 'BEGIN { RS = ""; FS = "\n" } {
            uri = ""; ok = 0
            for (i = 1; i <= NF; i++) {
                n = split($i, w, /[ \t]+/)
                if (w[1] == "URIs:") uri = w[2]
                if (w[1] == "Suites:") for (j = 2; j <= n; j++) if (w[j] == c) ok = 1
            }
            if (ok && uri != "") { print uri; exit }
        }'
}

# Starts a private X server (Xvfb) with one screen of the given size
# (default 1280x1024x24) on a display number it picks itself and has really
# opened (-displayfd), never one another server holds; exports DISPLAY and
# sets ZIRMON_XVFB_PID. zirmon_stop_xvfb stops it.
ZIRMON_XVFB_PID=
ZIRMON_XVFB_DIR=
zirmon_start_xvfb() {
    local screen=${1:-1280x1024x24}
    ZIRMON_XVFB_DIR=$(mktemp -d "${TMPDIR:-/tmp}/zirmon-xvfb.XXXXXX") || return 1
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset \
        3>"$ZIRMON_XVFB_DIR/display" >"$ZIRMON_XVFB_DIR/log" 2>&1 &
    ZIRMON_XVFB_PID=$!
    local i
    for ((i = 0; i < 200; i++)); do
        grep -q '^[0-9][0-9]*$' "$ZIRMON_XVFB_DIR/display" 2>/dev/null && break
        kill -0 "$ZIRMON_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    if ! grep -q '^[0-9][0-9]*$' "$ZIRMON_XVFB_DIR/display" 2>/dev/null; then
        echo "Xvfb did not start:" >&2
        cat "$ZIRMON_XVFB_DIR/log" >&2
        zirmon_stop_xvfb
        return 1
    fi
    DISPLAY=":$(head -n 1 "$ZIRMON_XVFB_DIR/display")"
    export DISPLAY
}

zirmon_stop_xvfb() {
    if [ -n "$ZIRMON_XVFB_PID" ]; then
        kill "$ZIRMON_XVFB_PID" 2>/dev/null || true
        wait "$ZIRMON_XVFB_PID" 2>/dev/null || true
    fi
    [ -n "$ZIRMON_XVFB_DIR" ] && rm -rf "$ZIRMON_XVFB_DIR"
    ZIRMON_XVFB_PID=''
    ZIRMON_XVFB_DIR=
}

# Configures one build folder and builds the given targets (all when none):
# zirmon_build DIR TYPE [cmake args...] [-- targets...]
# The tests, benchmarks and test tools are configured too unless the
# arguments say -DZIRMON_TESTS=OFF (./run.sh: only the program). A folder is
# configured again whenever its last configure did not succeed with the same
# arguments, so a folder left by a failed or interrupted run, or by the other
# command, is never a trap; when that configure fails too, the folder's cache
# is thrown away and it is configured once more from scratch.
zirmon_build() {
    local dir=$1 type=$2
    shift 2
    local args=(-DCMAKE_BUILD_TYPE="$type")
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        args+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift
    case " ${args[*]} " in
    *" -DZIRMON_TESTS="*) ;;
    *) args+=(-DZIRMON_TESTS=ON) ;;
    esac
    local stamp=$dir/zirmon-configured
    if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "${args[*]}" ]; then
        rm -f "$stamp"
        if ! cmake -S "$ZIRMON_ROOT" -B "$dir" "${args[@]}"; then
            [ -f "$dir/CMakeCache.txt" ] || return 1
            echo "Configuring $dir again from scratch"
            rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
            cmake -S "$ZIRMON_ROOT" -B "$dir" "${args[@]}" || return 1
        fi
        printf '%s\n' "${args[*]}" >"$stamp"
    fi
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}
