#!/usr/bin/env bash
# Takes the README's pictures of kelvox.exe under Wine: the main window with its system menu
# open, and the about box. Runs the program on its own virtual X display inside a Wine virtual
# desktop (so Wine draws the Windows frame and system menu itself) and writes
#   docs/screenshot-wine-main.png and docs/screenshot-wine-about.png
# Usage: scripts/windows/screenshots.sh [build folder]   (after make windows)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-windows}
[[ "$build" = /* ]] || build="$root/$build"
build=$(cd "$build" && pwd)
out="$root/docs"
exe="$build/ui/kelvox.exe"
[ -f "$exe" ] || { echo "windows/screenshots: $exe is missing (make windows)" >&2; exit 1; }

if [ -z "${KELVOX_SCREENSHOT_INNER:-}" ]; then
  exec env KELVOX_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

wine_run="$build/wine-run.sh"
desktop=800x600
"$wine_run" explorer "/desktop=kelvox,$desktop" "$exe" &
program=$!

# The main window of the program, by its title, inside the virtual desktop.
window=""
for _ in $(seq 1 300); do
  window=$(xdotool search --name 'PCIデバイス検索' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
desk=$(xdotool search --name 'kelvox - Wine desktop' 2>/dev/null | head -n1 || true)
[ -n "$desk" ] || desk=$(xdotool search --class explorer 2>/dev/null | head -n1 || true)
shot() { import -window root -crop "$desktop+0+0" +repage "$1"; }
sleep 2

# The system menu: Alt+Space, as on Windows.
xdotool key --clearmodifiers alt+space
sleep 1.5
shot "$out/screenshot-wine-main.png"

# Its last item is the about item (Up from the first item wraps round to it); it opens the
# about box.
xdotool key Up
sleep 0.5
xdotool key Return
sleep 2
shot "$out/screenshot-wine-about.png"

xdotool key Escape
sleep 0.5
xdotool key Escape
sleep 1
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
echo "windows/screenshots: wrote $out/screenshot-wine-main.png and $out/screenshot-wine-about.png"
