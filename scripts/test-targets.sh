#!/usr/bin/env bash
# Builds and tests the other targets, after the 64-bit builds of scripts/test.sh (whose build/release is the
# reference): 32-bit x86 Linux (multilib compilers, GoogleTest built from Debian's sources), all tests,
# and the demo's output compared with the 64-bit build's; then the 32-bit Windows cross-build.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd dpkg --add-architecture i386
fi
scripts/install-deps.sh g++-multilib libc6-dev-i386 libpng-dev:i386 googletest
jobs=$(nproc)

echo "== linux32 build"
cmake -S . -B build/linux32 -DCMAKE_TOOLCHAIN_FILE=cmake/linux-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEXMORA_WERROR=ON -DVEXMORA_GTEST_SOURCE=/usr/src/googletest -DVEXMORA_REFERENCE_BUILD="$PWD/build/release" >/dev/null
cmake --build build/linux32 -j"$jobs"
echo "== linux32 tests"
ctest --test-dir build/linux32 --output-on-failure -j"$jobs"

# 32-bit Windows, cross-built with MinGW-w64: the plug-ins (.mll), the host library and executable; its
# programs do not run here, so its tests check the plug-ins' export tables and the installed module.
scripts/install-deps.sh g++-mingw-w64-i686 binutils-mingw-w64-i686
echo "== win32 build"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/windows-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEXMORA_WERROR=ON >/dev/null
cmake --build build/win32 -j"$jobs"
echo "== win32 tests"
ctest --test-dir build/win32 --output-on-failure -j"$jobs"
