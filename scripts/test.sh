#!/usr/bin/env bash
# Builds and runs the whole test suite: the normal build, then the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then every fuzz target for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

for preset in default sanitize; do
  echo "=== ${preset} build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== ${preset} tests ==="
  ctest --preset "$preset" -j "$jobs"
done

# ---- fuzzing: every libFuzzer target over its seed corpus, 7 seconds each ----
echo "=== fuzz build ==="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
echo "=== fuzz run ==="
scripts/fuzz.sh
