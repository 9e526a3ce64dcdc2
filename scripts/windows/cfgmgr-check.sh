#!/usr/bin/env bash
# kelvox-cli.exe reading through the Windows device manager (its default) under Wine, on a
# virtual X display: Wine lists its display adapter as a PCI device only once a display exists.
# `list` must name that adapter by its instance ID (it has no bus, device and function), and
# `scan`, `details 0` and `capture` must end in time with an answer, never a crash. Then the time of `list`
# and `scan` through the device manager and through the ports (--source port) is printed,
# the median of five runs of the whole program each.
# Usage: scripts/windows/cfgmgr-check.sh [build folder]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-windows}
[[ "$build" = /* ]] || build="$root/$build"
build=$(cd "$build" && pwd)
if [ -z "${KELVOX_CFGMGR_INNER:-}" ]; then
  exec env KELVOX_CFGMGR_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

fail() { echo "windows/cfgmgr: FAILED: $*" >&2; exit 1; }
# Runs kelvox-cli.exe with a time limit; its output in $out, its status in $status.
run() {
  status=0
  out=$(timeout 120 "$build/wine-run.sh" "$build/cli/kelvox-cli.exe" "$@" 2>&1 | tr -d '\r') ||
    status=$?
  [ "$status" -ne 124 ] || fail "kelvox-cli.exe $* still ran after 120 s"
  [ "$status" -lt 128 ] || fail "kelvox-cli.exe $* ended by signal (status $status): $out"
}

adapter='PCI\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\'
run list
[ "$status" -eq 0 ] || fail "list ended with status $status: $out"
grep -qF "$adapter" <<<"$out" || fail "list does not name Wine's display adapter: $out"
grep -qF "0000:0000" <<<"$out" || fail "list does not give the adapter's IDs: $out"
echo "windows/cfgmgr: list names $(grep -F "$adapter" <<<"$out" | head -n1 | cut -c1-60)"

run scan
[ "$status" -eq 0 ] || fail "scan ended with status $status: $out"
[ "$(grep -c . <<<"$out")" -eq 32 ] || fail "scan did not print 32 rows: $out"
run details 0
[ "$status" -le 1 ] || fail "details 0 ended with status $status: $out"
capture=$(mktemp -d)
trap 'rm -rf "$capture"' EXIT
# Wine's drive Z: is the root folder.
run capture -o "Z:${capture//\//\\}\\bus.txt"
# Wine's adapter has no place in a bus, so there may be nothing to capture: said in one line.
[ "$status" -eq 0 ] || [[ "$status" -eq 2 && "$out" == "kelvox-cli: capture: "* ]] ||
  fail "capture ended with status $status: $out"
[ "$status" -ne 0 ] || [ -s "$capture/bus.txt" ] || fail "capture wrote nothing: $out"
echo "windows/cfgmgr: scan, details 0 and capture ended in time"

# The median time of five runs of kelvox-cli.exe with these arguments, in milliseconds.
median_ms() {
  local times=()
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s%N)
    "$build/wine-run.sh" "$build/cli/kelvox-cli.exe" "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}
for command in list scan; do
  echo "windows/cfgmgr: $command: $(median_ms "$command") ms through the device manager," \
    "$(median_ms "$command" --source port) ms through the ports (whole program under Wine)"
done
echo "1 passed, 0 failed"
