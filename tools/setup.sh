# SPDX-License-Identifier: MIT
# Shared by ./run and ./test: install what is missing, then configure and build.
# Sourced, not run; expects to be in the project's top folder.

# What building and running the viewer needs (xcb for its display check,
# libpng-dev for the rendered images' encoder, Qt's image plugins for saving
# as WebP); the benchmarks' libraries
# (Google Benchmark, and xcb for the start-up harness); and dpkg-dev, whose
# dpkg-shlibdeps finds the .deb's library dependencies.
DIRCHART_BUILD_PACKAGES=(g++ cmake ninja-build pkgconf qt6-base-dev qt6-translations-l10n
    fonts-liberation2 fonts-ipafont-gothic qt6-image-formats-plugins libpng-dev libbenchmark-dev
    libxcb1-dev dpkg-dev)
# The animated polar plot's encoder (--render --animate).
DIRCHART_BUILD_PACKAGES+=(libgif-dev)
# What the tests need on top: a virtual X server and the tools that drive it
# and read the screen back; desktop-file-validate for the menu entry,
# appstreamcli for the AppStream metadata, and man with groff for the manual
# page; tidy, and chromium driven through python3-selenium, for the
# archive's web page.
DIRCHART_TEST_PACKAGES=(xvfb xauth xdotool x11-utils imagemagick xclip desktop-file-utils
    appstream man-db groff-base tidy chromium chromium-driver python3-selenium)

# Debian's package checker, for the .deb (README, "As a Debian package").
DIRCHART_DEB_PACKAGES=(lintian)

# The fuzzer: clang with its libFuzzer and sanitizer runtimes.
DIRCHART_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

dirchart_install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing Debian packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || {
            echo "Missing packages (${missing[*]}); run as root or install sudo." >&2
            return 1
        }
        sudo=(sudo)
    fi
    # env, not a plain assignment: sudo would drop it from the environment.
    "${sudo[@]}" apt-get update -qq &&
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
            --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures a build folder once (Release unless the extra CMake arguments
# say otherwise; warnings fatal under CI), then builds incrementally: a second
# call rebuilds only what changed. Usage: dirchart_build DIR [CMAKE-ARGS...];
# DIRCHART_TARGETS, when set, names the only targets to build.
dirchart_build() {
    local build_dir=$1
    shift
    if [ ! -f "$build_dir/build.ninja" ]; then
        cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DDIRCHART_WERROR="${CI:+ON}" "$@" >/dev/null || return 1
    fi
    # shellcheck disable=SC2086 # a list of target names
    cmake --build "$build_dir" ${DIRCHART_TARGETS:+--target $DIRCHART_TARGETS}
}
