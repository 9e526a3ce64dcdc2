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

"$build/wine-run.sh" "$build/ui/kelvox.exe" "${@:2}" &
program=$!

window=""
for _ in $(seq 1 150); do
  window=$(xdotool search --name '^PCIデバイス検索\(95/98/Me\)$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$program" 2>/dev/null || fail "kelvox.exe ended before its window opened"
  sleep 0.2
done
[ -n "$window" ] || fail "no window titled PCIデバイス検索(95/98/Me) within 30 s"
echo "windows/smoke: window $(xdotool getwindowname "$window") is open"
sleep 1

xdotool windowfocus --sync "$window" key Escape
for _ in $(seq 1 75); do
  if ! kill -0 "$program" 2>/dev/null; then
    wait "$program" || true
    echo "windows/smoke: Escape ended kelvox.exe"
    echo "1 passed, 0 failed"
    exit 0
  fi
  sleep 0.2
done
fail "kelvox.exe still runs 15 s after Escape"
