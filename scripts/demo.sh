#!/usr/bin/env bash
# Builds everything and runs the project's main job.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)"

exec build/default/bin/ecfhost demo "$@"
