#!/usr/bin/env bash
# Smoke test of the real kelvox.exe under Wine on a virtual X display: the program starts, its
# window is titled "PCIデバイス検索(95/98/Me)", and Escape ends the program.
# Usage: scripts/windows/smoke.sh [build folder [kelvox.exe's arguments...]]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-windows}
[[ "$build" = /* ]] || build="$root/$build"
build=$(cd "$build" && pwd)
if [ -z "${KELVOX_SMOKE_INNER:-}" ]; then
  exec env KELVOX_SMOKE_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

fail() { echo "windows/smoke: FAILED: $*" >&2; kill "$program" 2>/dev/null || true; exit 1; }

. "$root/scripts/windows/window-escape.sh"

"$build/wine-run.sh" "$build/ui/kelvox.exe" "${@:2}" &
program=$!

window=$(wait_for_window "$program")
if [ -z "$window" ]; then
  kill -0 "$program" 2>/dev/null || fail "kelvox.exe ended before its window opened"
  fail "no window titled PCIデバイス検索(95/98/Me) within 30 s"
fi
echo "windows/smoke: window $(xdotool getwindowname "$window") is open"

escape_ends "$program" "$window" || fail "kelvox.exe still runs 15 s after Escape"
wait "$program" || true
echo "windows/smoke: Escape ended kelvox.exe"
echo "1 passed, 0 failed"
