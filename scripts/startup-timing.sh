#!/usr/bin/env bash
# The window's start-up beside a bare wx dialog's: each program is started RUNS times (default
# 9) on the display in $DISPLAY and the median of the milliseconds each prints is shown, with
# their ratio. Run it under Xvfb with a window manager, as on a desktop:
#   xvfb-run -a -s "-screen 0 1280x1024x24" scripts/startup-timing.sh build
set -euo pipefail
build=${1:-build}
runs=${RUNS:-9}

median() {
  local program=$1
  shift
  for _ in $(seq "$runs"); do
    "$program" "$@" | sed -n 's/.* \([0-9][0-9]*\) ms after the process started/\1/p'
  done | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Load both programs' libraries and fonts into the page cache before timing either.
"$build/bench/bare_dialog" > /dev/null
"$build/ui/kelvox" --measure-startup > /dev/null
bare=$(median "$build/bench/bare_dialog")
kelvox=$(median "$build/ui/kelvox" --measure-startup)
echo "bare wx dialog: ${bare} ms; kelvox: ${kelvox} ms; ratio $(awk -v k="$kelvox" -v b="$bare" 'BEGIN { printf "%.2f", k / b }')"
