# Shared by scripts/run and scripts/test: the Debian packages the build
# needs, their installation, and the configure-and-build step.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${PELORIN_BUILD_DIR:-$ROOT/build}"

BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config libsdl2-dev libfreetype-dev libfontconfig-dev
                libpixman-1-dev libpng-dev fonts-ipafont-gothic fonts-dejavu-core nlohmann-json3-dev
                libsqlite3-dev libcli11-dev)
# Making and checking the .deb, and validating what an installation holds.
PACKAGE_PACKAGES=(dpkg-dev lintian desktop-file-utils appstream man-db)
TEST_PACKAGES=(googletest libgtest-dev xvfb xauth xdotool x11-utils imagemagick libx11-dev binutils
               clang libclang-rt-14-dev python3 python3-jsonschema chromium "${PACKAGE_PACKAGES[@]}")
# The arm64 cross build and its tests under qemu-user (scripts/test-arm64):
# the cross toolchain, the :arm64 libraries through multiarch, and the host
# tools the tests use (the fonts and Xvfb come from the lists above).
ARM64_PACKAGES=(g++-aarch64-linux-gnu binutils-aarch64-linux-gnu qemu-user-static pkgconf:arm64
                libsdl2-dev:arm64 libfreetype-dev:arm64 libfontconfig-dev:arm64 libpixman-1-dev:arm64
                libpng-dev:arm64 libsqlite3-dev:arm64 libgtest-dev:arm64 libx11-dev:arm64)

# The Windows cross build and its tests under Wine (scripts/test-windows):
# mingw-w64 with posix threads, GoogleTest's sources to build for Windows,
# Wine, NSIS, and what the end-to-end tests drive the display with; the
# asset generator is still built for this machine, with libpng, FreeType
# and fontconfig.
WINDOWS_PACKAGES=(build-essential cmake ninja-build pkg-config libfreetype-dev libfontconfig-dev libpng-dev
                  fonts-ipafont-gothic fonts-dejavu-core g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                  mingw-w64-x86-64-dev googletest wine wine64 nsis xvfb xauth xdotool x11-utils x11-apps
                  imagemagick)

missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
    done
}

# The architectures other than this machine's and not yet added to dpkg
# that packages named like libpng-dev:arm64 among "$@" need.
architectures_to_add() {
    local native arch
    native=$(dpkg --print-architecture)
    for arch in $(printf '%s\n' "$@" | sed -n 's/.*:\(.*\)$/\1/p' | sort -u); do
        [ "$arch" = "$native" ] || dpkg --print-foreign-architectures | grep -qx "$arch" || echo "$arch"
    done
}

# Installs what is missing with apt-get, through sudo when not root; when
# neither can, prints the exact commands and stops.
install_packages() {
    local missing architectures
    missing=$(missing_packages "$@" | tr '\n' ' ')
    [ -z "${missing// /}" ] && return 0
    # shellcheck disable=SC2086
    architectures=$(architectures_to_add $missing | tr '\n' ' ')
    echo "Installing: $missing"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            sudo=(sudo)
        elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
            sudo=(sudo)  # asks for the password on the terminal
        else
            echo "These Debian packages are missing: $missing" >&2
            echo "Install them, then run this again:" >&2
            local arch
            for arch in $architectures; do echo "  sudo dpkg --add-architecture $arch" >&2; done
            echo "  sudo apt-get update && sudo apt-get install -y $missing" >&2
            exit 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    # Before apt-get update, so that it fetches their package lists too.
    local arch
    for arch in $architectures; do "${sudo[@]}" dpkg --add-architecture "$arch"; done
    "${sudo[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

# Configures (Release) and builds everything into $BUILD_DIR.  A new build
# folder gets Ninja, which compiles a file as soon as the headers it needs
# exist instead of waiting for the libraries before it to be linked; a folder
# configured before keeps its generator.
configure_and_build() {
    local generator=()
    [ -f "$BUILD_DIR/CMakeCache.txt" ] || generator=(-G Ninja)
    cmake -S "$ROOT" -B "$BUILD_DIR" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release "$@"
    cmake --build "$BUILD_DIR" -j "$(nproc)"
}
