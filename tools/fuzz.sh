#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a number of seconds (default 600):
#   tools/fuzz.sh              every target, 600 s each
#   tools/fuzz.sh 30 paths     only the targets named, 30 s each
# New inputs are kept in build-checks/fuzz-corpus/<target>/ (the seeds in
# tests/fuzz-corpus/ stay as they are); an input that breaks a target is
# written to build-checks/fuzz-findings/ and the script fails.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tools/packages.sh"

seconds="${1:-600}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in "$ROOT"/fuzz/*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

install_missing "${BUILD_PACKAGES[@]}" "${CHECK_PACKAGES[@]}"
build_checks

export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
findings="$ROOT/build-checks/fuzz-findings"
mkdir -p "$findings"
failed=0
for target in "${targets[@]}"; do
    corpus="$ROOT/build-checks/fuzz-corpus/$target"
    log="$ROOT/build-checks/fuzz-$target.log"
    mkdir -p "$corpus"
    echo "== fuzz_$target, $seconds s"
    if "$ROOT/build-checks/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "$corpus" "$ROOT/tests/fuzz-corpus/$target" >"$log" 2>&1; then
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
    else
        tail -n 60 "$log"
        echo "fuzz_$target found a failing input (see $findings/)"
        failed=1
    fi
done
exit $failed
