#!/usr/bin/env bash
# `make run`: opens the Kelvox window when a display is there; without one (or when the display
# cannot be opened), says so and prints the terminal scan of bus 0, function 0 instead.
set -euo pipefail
build=${1:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "kelvox: no display (DISPLAY is not set); printing the scan of bus 0, function 0 instead."
  exec "$build/cli/kelvox-cli" scan
fi
status=0
"$build/ui/kelvox" || status=$?
[ "$status" -eq 0 ] && exit 0
# The window prints its own one-line reason when the display cannot be opened (exit 1).
if [ "$status" -eq 1 ]; then
  exec "$build/cli/kelvox-cli" scan
fi
exit "$status"
