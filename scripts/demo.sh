#!/usr/bin/env bash
# Builds everything and runs the project's main job.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)"

if [ -x build/default/bin/ecfhost ]; then
  exec build/default/bin/ecfhost demo "$@"
fi
echo
echo "Built the module (build/default/bin/libecfmodule.so), the virtual printer"
echo "(build/default/bin/libDLLG2.so) and the test programs. The host tool that runs a"
echo "working day is not built yet; run scripts/test.sh to see what works."
