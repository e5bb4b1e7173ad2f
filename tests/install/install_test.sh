#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses it as an integrator does: builds the
# installed example host with find_package(ecf) and with pkg-config, and a program using
# the virtual printer's controls (ecf::virtual_printer); runs the hosts against the
# installed module, which must find the installed virtual printer beside itself; runs the
# installed ecfhost, which must find the installed module.
source "$(dirname "$0")/common.sh"
work=$ECF_SCRATCH
prefix=$work/prefix
module=$prefix/$ECF_LIBDIR/libecfmodule.so
example=$prefix/$ECF_DOCDIR/examples/host

"$ECF_CMAKE" --install "$ECF_BUILD_DIR" --prefix "$prefix" >"$work/install.log" ||
  fail "cmake --install: $(cat "$work/install.log")"

# Everything installed belongs to one of the packages, and nothing is missing.
expected_list runtime development virtual_printer >"$work/expected.txt"
file_list "$prefix" >"$work/installed.txt"
same_files "$work/expected.txt" "$work/installed.txt" "cmake --install"

# The installed module looks for its driver beside itself before the system's places.
readelf -d "$module" | grep -q 'RUNPATH.*\[\$ORIGIN\]' ||
  fail "the installed module's RUNPATH is not \$ORIGIN: $(readelf -d "$module" | grep PATH)"

# Configures and builds a CMake project against the installation only.
build_with_cmake() {  # source build
  local launcher=()
  [ -n "$ECF_LAUNCHER" ] && launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=$ECF_LAUNCHER")
  { "$ECF_CMAKE" -S "$1" -B "$2" -G "$ECF_GENERATOR" -DCMAKE_CXX_COMPILER="$ECF_CXX" \
      "${launcher[@]}" -DCMAKE_PREFIX_PATH="$prefix" &&
    "$ECF_CMAKE" --build "$2"; } >"$2.log" 2>&1 || fail "building $1: $(cat "$2.log")"
  grep -qx "ecf_DIR:PATH=$prefix/$ECF_LIBDIR/cmake/ecf" "$2/CMakeCache.txt" ||
    fail "$1 found another ecf package: $(grep ecf_DIR "$2/CMakeCache.txt")"
}

build_with_cmake "$ECF_CONSUMER_DIR" "$work/read_tape"

# The README's run: the module's path as argument, the printers' memory in ECFSIM_ROOT.
# The host says nothing to the operator, and the supply is on the printer's tape.
run_host() {  # host printers
  local output tape
  output=$(ECFSIM_ROOT="$2" "$1" "$module" 2>&1) || fail "$1 failed: $output"
  [ -z "$output" ] || fail "$1 told the operator: $output"
  tape=$(ECFSIM_ROOT="$2" "$work/read_tape/read_tape" ECF1) || fail "read_tape failed"
  grep -Eq '^00 Suprimento +150,00$' <<<"$tape" || fail "$1: no supply of 150,00 on the tape: $tape"
}

# find_package(ecf)
build_with_cmake "$example" "$work/cmake_host"
run_host "$work/cmake_host/minimal_host" "$work/cmake_printers"

# pkg-config
export PKG_CONFIG_LIBDIR=$prefix/$ECF_LIBDIR/pkgconfig
version=$(pkg-config --modversion ecf) || fail "pkg-config does not find ecf"
[ "$version" = "$ECF_VERSION" ] || fail "ecf.pc gives version $version, not $ECF_VERSION"
mkdir -p "$work/pkg_config_host"
read -r -a cflags <<<"$(pkg-config --cflags ecf)"
read -r -a libs <<<"$(pkg-config --libs ecf)"
read -r -a launcher <<<"$ECF_LAUNCHER"
{ "${launcher[@]}" "$ECF_CXX" -std=c++20 "${cflags[@]}" -c "$example/minimal_host.cpp" \
    -o "$work/pkg_config_host/minimal_host.o" &&
  "$ECF_CXX" "$work/pkg_config_host/minimal_host.o" "${libs[@]}" \
    -o "$work/pkg_config_host/minimal_host"; } >"$work/pkg_config_host.log" 2>&1 ||
  fail "building with pkg-config flags: $(cat "$work/pkg_config_host.log")"
run_host "$work/pkg_config_host/minimal_host" "$work/pkg_config_printers"

run_demo "$prefix/$ECF_BINDIR/ecfhost"
echo "installed, built against and ran: find_package, pkg-config, ecfhost demo"
