#!/usr/bin/env bash
# Builds Meridane and runs every benchmark (offscreen), printing the figures.
#   tools/bench.sh            all sizes (10,000, 100,000 and 1,000,000 points)
#   tools/bench.sh 10000      only the sizes named
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tools/packages.sh"

install_missing "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
build_meridane
for bench in "$ROOT"/build/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    # The floor is a tool of bench_commandline, which runs it.
    [ "$(basename "$bench")" = bench_floor ] && continue
    echo "== $(basename "$bench")"
    QT_QPA_PLATFORM=offscreen "$bench" "$@"
    echo
done
