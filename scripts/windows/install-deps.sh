#!/usr/bin/env bash
# Installs what the Windows cross build and its Wine checks need, but only what is missing:
# the MinGW-w64 C++ compiler with POSIX threads, Wine, NSIS for the installer, and the tools to
# fetch and unpack a Debian source package. Also adds a deb-src entry for the running Debian
# suite when apt has none, so the wxWidgets source package can be fetched with `apt-get source`.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 wine
  nsis
  dpkg-dev
  googletest
  xvfb xauth xdotool imagemagick fonts-ipafont-gothic
)

if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  run=(sudo)
elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
  run=(sudo)
else
  run=(false)
fi

updated=no
apt_update() {
  if [ "$updated" = no ]; then
    "${run[@]}" apt-get update -q
    updated=yes
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "windows/install-deps: installing missing packages: ${missing[*]}"
  if [ "${run[0]:-}" = false ]; then
    echo "windows/install-deps: cannot run apt-get as root; install: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt_update
  "${run[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Source entries: one deb-src line for the suite this machine runs, from the same mirror as
# its binary entries.
if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  . /etc/os-release
  mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null |
             sed -nE 's#^(URIs:[[:space:]]*|deb[[:space:]]+(\[[^]]*\][[:space:]]+)?)(https?://[^ ]+/debian/?)([[:space:]].*)?$#\3#p' |
             head -n1 || true)
  mirror=${mirror:-http://deb.debian.org/debian}
  echo "windows/install-deps: adding a deb-src entry for ${VERSION_CODENAME} (${mirror})"
  if [ "${run[0]:-}" = false ]; then
    echo "windows/install-deps: cannot add /etc/apt/sources.list.d/kelvox-src.sources without root" >&2
    exit 1
  fi
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$mirror" "$VERSION_CODENAME" | "${run[@]}" tee /etc/apt/sources.list.d/kelvox-src.sources >/dev/null
  updated=no
  apt_update
elif ! apt-cache showsrc wxwidgets3.2 2>/dev/null | grep -q '^Version:'; then
  apt_update
fi
