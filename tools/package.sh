#!/usr/bin/env bash
# Builds Meridane's Debian package (build/meridane_<version>_<arch>.deb) and
# checks it with lintian. Install it with: apt install ./build/meridane_*.deb
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tools/packages.sh"

install_missing "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
build_meridane
cd "$ROOT/build"
rm -f meridane_*.deb
cpack -G DEB >/dev/null
package="$(ls "$ROOT"/build/meridane_*.deb)"
lintian --fail-on error "$package"
echo "$package"
