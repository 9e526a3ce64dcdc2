#!/usr/bin/env bash
# Builds GoogleTest and GoogleMock from Debian's googletest sources (/usr/src/googletest) with
# the MinGW-w64 toolchain, once, into a cache folder outside the source tree, and prints the
# install prefix. A new googletest package version gives a new folder and a new build.
#
#   KELVOX_CACHE   cache root (default ${XDG_CACHE_HOME:-$HOME/.cache}/kelvox)
#   JOBS           parallel compile jobs (default: nproc)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cache=${KELVOX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvox}
jobs=${JOBS:-$(nproc)}
source_dir=/usr/src/googletest

version=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || true)
if [ -z "$version" ] || [ ! -f "$source_dir/CMakeLists.txt" ]; then
  echo "windows/build-gtest: Debian's googletest sources are missing (run scripts/windows/install-deps.sh)" >&2
  exit 1
fi
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
key=$(cat "$toolchain" | sha1sum | cut -c1-8)
prefix="$cache/googletest-mingw-${version//[+~:]/-}-$key"

if [ ! -f "$prefix/.complete" ]; then
  echo "windows/build-gtest: building GoogleTest $version for Windows into $prefix" >&2
  work="$cache/work-googletest-$key"
  rm -rf "$work" "$prefix"
  cmake -S "$source_dir" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -Dgtest_disable_pthreads=OFF -DBUILD_GMOCK=ON >"$cache/googletest-configure.log" 2>&1 ||
    { tail -n 30 "$cache/googletest-configure.log" >&2; exit 1; }
  cmake --build "$work" -j "$jobs" >"$cache/googletest-build.log" 2>&1 ||
    { tail -n 30 "$cache/googletest-build.log" >&2; exit 1; }
  cmake --install "$work" >/dev/null
  rm -rf "$work"
  echo "$version" >"$prefix/.complete"
fi
echo "$prefix"
