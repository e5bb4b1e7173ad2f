#!/usr/bin/env bash
# Builds and runs the whole test suite: the normal build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the 64-bit Windows build with its tests
# run under Wine, then every fuzz target for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

for preset in default sanitize windows-x64; do
  echo "=== ${preset} build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  if [ "$preset" = windows-x64 ]; then
    # A fresh Wine prefix takes a while to create on a cold machine: made here, once, so the
    # tests' discovery does not spend its time limit on it.
    echo "=== ${preset} Wine prefix ==="
    time build/windows-x64/wine-run.sh cmd.exe /c exit 0
  fi
  echo "=== ${preset} tests ==="
  ctest --preset "$preset" -j "$jobs"
done
# The Wine server of the Windows tests lingers for the next program; none comes.
WINEPREFIX="$PWD/build/windows-x64/wineprefix" wineserver -k 2>/dev/null || true

# ---- fuzzing: every libFuzzer target over its seed corpus, 7 seconds each ----
echo "=== fuzz build ==="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
echo "=== fuzz run ==="
scripts/fuzz.sh
