#!/usr/bin/env bash
# Installs what is missing, builds Meridane and runs every test.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tools/packages.sh"

install_missing "${BUILD_PACKAGES[@]}"
build_meridane
cd "$ROOT/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
