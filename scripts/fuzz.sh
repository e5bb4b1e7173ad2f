#!/usr/bin/env bash
# Runs every libFuzzer target of the `fuzz` preset over its seed corpus for a fixed time.
#   scripts/fuzz.sh               each target for 7 seconds (what CI does)
#   scripts/fuzz.sh 600           each target for ten minutes
#   scripts/fuzz.sh 3600 scenario one target (fuzz_scenario) for an hour
# New inputs go to build/fuzz/corpus/<target>/ (the committed seeds stay as they are);
# an input that crashes is saved as build/fuzz/artifacts/<target>-crash-* and the script
# fails. Build first: cmake --preset fuzz && cmake --build --preset fuzz
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-7}
only=${2:-}
bin=build/fuzz/bin
mkdir -p build/fuzz/artifacts

for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  [ -n "$only" ] && [ "$only" != "$name" ] && continue
  work=build/fuzz/corpus/$name
  mkdir -p "$work"
  log=build/fuzz/$name.log
  echo "--- fuzz_$name: ${seconds}s (log: $log)"
  status=0
  "$bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/$name-" "$work" "$seeds" \
    >"$log" 2>&1 || status=$?
  grep -E '^(Done [0-9]+ runs|stat::new_units_added|stat::peak_rss_mb)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "fuzz_$name failed (status $status): the input is in build/fuzz/artifacts/" >&2
    exit 1
  fi
done
