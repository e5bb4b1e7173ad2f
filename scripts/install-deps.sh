#!/usr/bin/env bash
# Installs, on Debian, whatever the build and the tests need and the machine lacks.
set -euo pipefail

packages=(cmake ninja-build g++ clang libgtest-dev libgmock-dev nlohmann-json3-dev)
# The Windows builds: mingw-w64 cross compilers (posix threads), GoogleTest's sources built
# for the target, Wine to run the tests.
packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine wine64)
# ---- fuzzing: libFuzzer's runtime for Debian 12's clang (only recommended by clang) ----
packages+=(libclang-rt-14-dev)
# Installing and packaging: the host build with pkg-config flags, reading the installed
# module's dynamic section.
packages+=(pkg-config binutils)
# Benchmarks (scripts/bench.sh): Google Benchmark, callgrind for instruction counts, and
# python3 for the table.
packages+=(libbenchmark-dev valgrind python3)
# The clients of the module's C interface: the Python binding's tests (pytest) and the
# Pascal program (Free Pascal, Delphi mode).
packages+=(python3-pytest fp-compiler)
# The service ecfd: Boost's header-only Asio and Beast (also for the Windows build); its
# tests are real HTTP clients: pytest (above) with urllib, and curl for the README's lines.
packages+=(libboost-dev curl)
# Its operator's console, tested in headless Chromium driven by Selenium.
packages+=(chromium chromium-driver python3-selenium)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
elif command -v sudo >/dev/null 2>&1; then
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
else
  echo "Missing packages (${missing[*]}) and no root rights to install them." >&2
  exit 1
fi
