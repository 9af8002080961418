#!/usr/bin/env bash
# Installs what is missing, builds Meridane and runs every test; then runs the
# same tests built with the sanitizers, and every fuzz target for 30 seconds.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tools/packages.sh"

install_missing "${BUILD_PACKAGES[@]}" "${END_TO_END_PACKAGES[@]}" "${CHECK_PACKAGES[@]}"
build_meridane
(cd "$ROOT/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure)

echo "== The tests with AddressSanitizer and UndefinedBehaviorSanitizer"
build_checks
(cd "$ROOT/build-checks" && ctest --output-on-failure)

bash "$ROOT/tools/fuzz.sh" 30
