#!/usr/bin/env bash
# Builds the benchmarks in release mode (preset "bench"), runs them and prints the table
# of figures against their goals. Not part of the test command: speed is measured here.
#   scripts/bench.sh [REPETITIONS [PRESET]]
# REPETITIONS: default 7 (min / median of 7 runs of each figure). PRESET: default "bench"
# (a release build of its own); "default" measures the normal build, adding the benchmark
# programs to it.
# ECF_BENCH_DISK chooses where the printer's memory goes for the disk figure (default:
# beside the benchmark programs); the tmpfs figures use /dev/shm.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
repetitions=${1:-7}
jobs=$(( $(nproc 2>/dev/null || echo 2) < 2 ? 1 : 2 ))

preset=${2:-bench}

if [ "$preset" = bench ]; then
  cmake --preset bench >/dev/null
else
  cmake --preset "$preset" -DECF_BUILD_BENCH=ON >/dev/null
fi
cmake --build --preset "$preset" -j "$jobs" --target ecf_bench_module ecf_bench_sale \
  ecf_bench_dataset ecf_bench_instructions ecfd >/dev/null

bin=build/$preset/bin
out=$(mktemp -d "${TMPDIR:-/tmp}/ecf-bench-results-XXXXXX")
scratch=$(mktemp -d /dev/shm/ecf-bench-XXXXXX)
disk=$(mktemp -d "$PWD/build/$preset/state-XXXXXX")
trap 'rm -rf "$out" "$scratch" "$disk"' EXIT
export ECF_BENCH_TMPFS=$scratch ECF_BENCH_DISK=$disk

run() {  # program, then Google Benchmark options
  local program=$1
  shift
  echo "running $program ..." >&2
  "$bin/$program" --benchmark_repetitions="$repetitions" --benchmark_format=json \
    --benchmark_out_format=json --benchmark_out="$out/$program.json" "$@" >/dev/null
}
run ecf_bench_module
run ecf_bench_sale
run ecf_bench_dataset

# Instructions are counted under callgrind, where the machine's load does not matter.
if command -v valgrind >/dev/null 2>&1; then
  echo "counting instructions ..." >&2
  for what in module bare; do
    valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/$what.callgrind" \
      "$bin/ecf_bench_instructions" "$what" 200 >/dev/null 2>&1
    awk '/^totals:/ {print $2 / 200}' "$out/$what.callgrind" >"$out/$what.instructions"
  done
fi

python3 bench/table.py "$out"

# The service: its round trip and its receipt against ecf_call directly.
python3 bench/ecfd_bench.py "$bin" "$repetitions"
