#!/usr/bin/env bash
# Builds static wxWidgets (MSW port) for x86_64-w64-mingw32 from Debian's own wxwidgets3.2
# source package, once, into a cache folder outside the source tree, and prints the path of
# its wx-config. A later call reuses that build; a new source version or a change of the
# configure options below gives a new folder and a new build.
#
#   KELVOX_CACHE   cache root (default ${XDG_CACHE_HOME:-$HOME/.cache}/kelvox)
#   JOBS           parallel compile jobs (default: nproc)
set -euo pipefail

host=x86_64-w64-mingw32
cache=${KELVOX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvox}
jobs=${JOBS:-$(nproc)}

# The Debian source drops the bundled image, XML, compression and regex libraries; the window
# needs only the core and base libraries, so the larger optional parts are left out too.
configure_options=(
  --host=$host --build="$(gcc -dumpmachine)"
  --disable-shared --enable-unicode --with-msw
  --without-libpng --without-libjpeg --without-libtiff --without-expat --without-zlib
  --without-liblzma --without-regex --without-opengl
  --disable-xrc --disable-html --disable-webview --disable-stc --disable-richtext
  --disable-ribbon --disable-propgrid --disable-aui --disable-mediactrl --disable-svg
  --disable-webrequest --disable-precomp-headers
)

log() { echo "windows/build-wx: $*" >&2; }

version=$(apt-cache showsrc wxwidgets3.2 | sed -n 's/^Version: //p' | sort -V | tail -n1)
if [ -z "$version" ]; then
  log "no source entry for wxwidgets3.2 (run scripts/windows/install-deps.sh)"
  exit 1
fi
options_key=$(printf '%s\n' "${configure_options[@]}" CXX=$host-g++-posix | sha1sum | cut -c1-8)
name="wx-msw-${version//[+~:]/-}-$options_key"
prefix="$cache/$name"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix/bin/wx-config"
  exit 0
fi

log "building static wxWidgets $version for $host into $prefix"
start=$(date +%s)
work="$cache/work-$name"
rm -rf "$work" "$prefix"
mkdir -p "$work"
(
  cd "$work"
  apt-get source --download-only -q "wxwidgets3.2=$version" >&2
  dpkg-source --no-check -x ./*.dsc src >&2
  mkdir build && cd build
  ../src/configure "${configure_options[@]}" --prefix="$prefix" \
    CC=$host-gcc-posix CXX=$host-g++-posix CXXFLAGS=-O2 CFLAGS=-O2 >configure.log 2>&1 ||
    { tail -n 40 configure.log >&2; exit 1; }
  make -j"$jobs" >make.log 2>&1 || { tail -n 40 make.log >&2; exit 1; }
  make install >install.log 2>&1 || { tail -n 40 install.log >&2; exit 1; }
)
rm -rf "$work"
echo "$version ${configure_options[*]}" >"$prefix/.complete"
log "done in $(( $(date +%s) - start )) s"
echo "$prefix/bin/wx-config"
