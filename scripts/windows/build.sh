#!/usr/bin/env bash
# make windows: installs what is missing, builds (or reuses) static wxWidgets and GoogleTest for
# MinGW-w64 in the cache, then cross-builds kelvox.exe, kelvox-cli.exe and the test programs into
# the build folder given (default build-windows) with CMake and the MinGW-w64 toolchain file.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-windows}
jobs=${JOBS:-$(nproc)}
cd "$root"

scripts/windows/install-deps.sh
wx_config=$(scripts/windows/build-wx.sh)
gtest_prefix=$(scripts/windows/build-gtest.sh)
headers_prefix=$(scripts/windows/header-only-prefix.sh)

if [ ! -f "$build/CMakeCache.txt" ] ||
   ! grep -qF "KELVOX_WINDOWS_PREFIX:UNINITIALIZED=$(dirname "$(dirname "$wx_config")");$gtest_prefix;$headers_prefix" \
     "$build/CMakeCache.txt"; then
  rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
  cmake -S . -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DKELVOX_WINDOWS_PREFIX="$(dirname "$(dirname "$wx_config")");$gtest_prefix;$headers_prefix" \
    -DwxWidgets_CONFIG_EXECUTABLE="$wx_config" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s \
    -DKELVOX_BUILD_BENCH=OFF
fi
cmake --build "$build" -j "$jobs"
for exe in "$build/ui/kelvox.exe" "$build/cli/kelvox-cli.exe"; do
  [ -f "$exe" ] && echo "windows/build: $exe ($(stat -c %s "$exe") bytes)"
done
