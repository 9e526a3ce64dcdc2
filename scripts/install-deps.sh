#!/usr/bin/env bash
# Installs the Debian packages Kelvox needs to build, test and run, but only those that are
# missing. Runs apt-get as root directly, or through sudo when that works without a prompt
# the user cannot answer; otherwise says what to install and stops.
set -euo pipefail

packages=(
  g++ make cmake pkg-config clang-format
  libwxgtk3.2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev
  xvfb xauth openbox imagemagick xdotool
  pciutils pci.ids zlib1g-dev
  prometheus prometheus-node-exporter
  fonts-ipafont-gothic
  dpkg-dev fakeroot lintian appstream bash-completion man-db groff-base gzip
)
# `install-deps.sh --fuzz` also installs clang with its libFuzzer and sanitizer run times, which
# `make fuzz` builds with.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  run=(sudo)
elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
  run=(sudo)
else
  echo "install-deps: these packages are missing and this user can neither run apt-get as root nor use sudo:" >&2
  echo "  apt-get install ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -q
"${run[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
