# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by the start, test and benchmark scripts.
install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and testing need (python3: a test types on a terminal of its own).
BUILD_PACKAGES=(cmake make g++ pkg-config qt6-base-dev libxcb1-dev libxlsxwriter-dev libsimdjson-dev
    libgeographiclib-dev libxml2-dev zlib1g-dev libarchive-dev
    fonts-liberation2 unzip python3)

# What the end-to-end tests drive the real window with: a virtual display,
# simulated mouse and keys, and the pointer's cursor read back (XFixes); a
# headless Wayland compositor with Qt's Wayland plugin; the dark desktop
# style the skin is checked and shown on; the accessibility bus and a
# client of it, to hear the window as a screen reader does; the MIME database
# and the lookups a file manager makes, to find the types the package claims.
END_TO_END_PACKAGES=(xvfb xdotool libxcb-xfixes0-dev weston qt6-wayland adwaita-qt6
    at-spi2-core dbus-x11 python3-pyatspi
    shared-mime-info xdg-utils libglib2.0-bin)

# What building the Debian package needs: dpkg-shlibdeps finds its
# dependencies, lintian checks it.
PACKAGE_PACKAGES=(dpkg-dev lintian)

# What the benchmarks compare with and measure by: GeodSolve, /usr/bin/time.
BENCH_PACKAGES=(geographiclib-tools time)

# A compiler cache, where the machine has one, spares rebuilding what did not change.
compiler_launcher() {
    command -v ccache >/dev/null && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    return 0
}

build_meridane() {
    cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo $(compiler_launcher) >/dev/null
    cmake --build "$ROOT/build" -j"$(nproc)"
}

# What the checks add: clang with libFuzzer and the sanitizer runtimes, and the
# symbolizer that names the lines of a finding.
CHECK_PACKAGES=(clang-14 libclang-rt-14-dev llvm-14)

# The checks' build folder: the tests and the fuzz targets, built with
# AddressSanitizer and UndefinedBehaviorSanitizer.
build_checks() {
    CC=clang-14 CXX=clang++-14 cmake -S "$ROOT" -B "$ROOT/build-checks" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERIDANE_SANITIZE=ON -DMERIDANE_FUZZ=ON $(compiler_launcher) >/dev/null
    cmake --build "$ROOT/build-checks" -j"$(nproc)" --target meridane_tests meridane_fuzz
}
