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

# What building and testing need.
BUILD_PACKAGES=(cmake make g++ pkg-config qt6-base-dev libxcb1-dev libxlsxwriter-dev zlib1g-dev
    fonts-liberation2 unzip)

# What building the Debian package needs: dpkg-shlibdeps finds its
# dependencies, lintian checks it.
PACKAGE_PACKAGES=(dpkg-dev lintian)

# What the benchmarks compare with and measure by: GeodSolve, /usr/bin/time.
BENCH_PACKAGES=(geographiclib-tools time)

build_meridane() {
    cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$ROOT/build" -j"$(nproc)"
}
