#!/usr/bin/env bash
# Builds the packages into build/packages/: the Debian packages (libecfmodule0,
# libecfmodule-dev, ecf-virtual-printer) and, where the Windows build is set up (preset
# windows-x64), a .zip of the Windows files.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
out=$PWD/build/packages
mkdir -p "$out"

# Configures and builds a preset; prints its build directory.
build_preset() {
  local directory
  directory=$(cmake --preset "$1" | sed -n 's/^-- Build files have been written to: //p')
  [ -n "$directory" ] || { echo "cannot configure preset $1" >&2; exit 1; }
  cmake --build --preset "$1" -j "$jobs" >&2
  echo "$directory"
}

directory=$(build_preset default)
cpack --config "$directory/CPackConfig.cmake" -B "$out"

if cmake --list-presets 2>/dev/null | grep -q '"windows-x64"'; then
  directory=$(build_preset windows-x64)
  cpack --config "$directory/CPackConfig.cmake" -G ZIP -B "$out"
fi

rm -rf "$out/_CPack_Packages"
ls -l "$out"
