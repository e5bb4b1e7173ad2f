# Shared by the installation and package tests; run by ctest with the ECF_* variables
# of tests/install/CMakeLists.txt.
set -euo pipefail

# Hosts must find the installed files through their own paths, not an inherited one.
unset LD_LIBRARY_PATH PKG_CONFIG_PATH

# A fresh scratch directory, left behind only when the test fails, for a look.
rm -rf "$ECF_SCRATCH"
mkdir -p "$ECF_SCRATCH"
trap 'status=$?; [ "$status" -eq 0 ] && rm -rf "$ECF_SCRATCH"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The files and links under a directory, relative to it, sorted.
file_list() {
  (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
}

# The expected files of these install components, relative to the prefix, sorted.
expected_list() {
  local component
  for component in "$@"; do cat "$ECF_EXPECTED_DIR/$component.txt"; done | LC_ALL=C sort
}

# Fails unless the two lists (files) are equal, showing the difference.
same_files() {  # expected actual what
  diff -u "$1" "$2" >&2 || fail "$3: the files differ from the expected ones (- expected, + found)"
}

# Runs the installed ecfhost's demonstration day in a directory of its own.
run_demo() {  # ecfhost
  local directory output
  directory=$(mktemp -d "$ECF_SCRATCH/demo.XXXX")
  output=$(cd "$directory" && "$1" demo 2>&1) || fail "$1 demo failed: $output"
  grep -q "StopImpFiscal *ok" <<<"$output" || fail "$1 demo did not end the day: $output"
}
