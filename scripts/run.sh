#!/usr/bin/env bash
# `make run`: opens the Kelvox window when a display is there; without one, says so and prints
# the terminal scan of bus 0, function 0 instead.
set -euo pipefail
build=${1:-build}
if [ -x "$build/ui/kelvox" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$build/ui/kelvox"
fi
if [ -x "$build/ui/kelvox" ]; then
  echo "kelvox: no display (DISPLAY is not set); printing the scan of bus 0, function 0 instead."
fi
exec "$build/cli/kelvox-cli" scan
