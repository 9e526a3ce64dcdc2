#!/usr/bin/env bash
# Makes a small install prefix for the Windows build that holds only the build machine's
# header-only libraries (nlohmann-json): their headers and CMake package files, without the rest
# of /usr/include, which must never reach the MinGW compiler. Prints the prefix.
set -euo pipefail

cache=${KELVOX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvox}
version=$(dpkg-query -W -f='${Version}' nlohmann-json3-dev 2>/dev/null || true)
if [ -z "$version" ]; then
  echo "windows/header-only-prefix: nlohmann-json3-dev is missing (run scripts/install-deps.sh)" >&2
  exit 1
fi
prefix="$cache/header-only-${version//[+~:]/-}"
if [ ! -f "$prefix/.complete" ]; then
  rm -rf "$prefix"
  mkdir -p "$prefix/include" "$prefix/share/cmake"
  cp -r /usr/include/nlohmann "$prefix/include/"
  cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
  echo "$version" >"$prefix/.complete"
fi
echo "$prefix"
