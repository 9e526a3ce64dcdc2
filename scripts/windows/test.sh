#!/usr/bin/env bash
# make test-windows: runs the Windows build's test programs under Wine (a private prefix in the
# build folder, no Wine debug output): the core suites first, then the window checks on a
# virtual X display, then the real kelvox.exe started and ended with Escape.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-windows}
cd "$root/$build"
build=$(pwd)

# Tests that need no display, then the Windows window checks, which run one at a time.
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")
ctest --output-on-failure -j "${JOBS:-$(nproc)}" -LE gui
"${xvfb[@]}" ctest --output-on-failure -L '^win32_gui$'
"$root/scripts/windows/smoke.sh" "$build"
