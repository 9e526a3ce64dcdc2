#!/usr/bin/env bash
# make test-windows: runs the Windows build's test programs under Wine (a private prefix in the
# build folder, no Wine debug output): the core suites first, then the window checks on a
# virtual X display, then the real kelvox.exe started and ended with Escape (through the device
# manager, its default, and through the ports), then kelvox-cli.exe through the device manager.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-windows}
cd "$root/$build"
build=$(pwd)

# One Wine server for the whole run. Left to itself the server exits a few seconds after its
# last program, and a test program that connects just then is dropped ("wine client error:
# recvmsg: Connection reset by peer") and counted as failed.
"$build/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$build/wine-run.sh")
wineserver=$(grep -o '"[^"]*wineserver[^"]*"' "$build/wine-run.sh" | head -n1 | tr -d '"')
# Only once the prefix is ready: making it waits for the server to exit (wineserver -w).
if [ -n "$prefix" ] && [ -f "$prefix/.kelvox-ready" ] && [ -x "$wineserver" ]; then
  # The server the first call started exits by itself; start the lasting one after it.
  WINEPREFIX="$prefix" "$wineserver" -w || true
  WINEPREFIX="$prefix" "$wineserver" -p || true
  trap 'WINEPREFIX="$prefix" "$wineserver" -k || true' EXIT
  # Wine's own services start with the first program and live as long as the server: start
  # them here, so they hold no test's output open.
  "$build/wine-run.sh" cmd /c exit >/dev/null 2>&1 </dev/null || true
fi

# Tests that need no display, then the Windows window checks, which run one at a time.
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")
ctest --output-on-failure -j "${JOBS:-$(nproc)}" -LE gui
"${xvfb[@]}" ctest --output-on-failure -L '^win32_gui$'
"$root/scripts/windows/smoke.sh" "$build"
"$root/scripts/windows/smoke.sh" "$build" --source port
"$root/scripts/windows/smoke.sh" "$build" --topology
"$root/scripts/windows/cfgmgr-check.sh" "$build"
"$root/scripts/windows/installer-test.sh" "$build"
