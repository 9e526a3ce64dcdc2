# Sourced by the scripts that start the real kelvox.exe under Wine and end it with Escape.
#
# wait_for_window PID: prints the id of kelvox.exe's main window once it is mapped (viewable),
# within 30 s; prints nothing when the program ends first or the time runs out. Wine names a
# window before it maps it, and focusing a window that is not yet viewable fails with X's
# BadMatch, so a window found by name alone is not ready for keys.
#
# escape_ends PID WINDOW: presses Escape in WINDOW, again every 2 s while the program runs (a key
# pressed while Wine is still setting the window up can be lost), and succeeds once the program
# has ended, within 15 s.

wait_for_window() {
  local program=$1 window="" _
  for _ in $(seq 1 150); do
    window=$(xdotool search --onlyvisible --name '^PCIデバイス検索\(95/98/Me\)$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
  done
  echo "$window"
}

escape_ends() {
  local program=$1 window=$2 tick
  for tick in $(seq 0 74); do
    kill -0 "$program" 2>/dev/null || return 0
    if (( tick % 10 == 0 )); then
      xdotool windowfocus --sync "$window" key Escape >/dev/null 2>&1 || true
    fi
    sleep 0.2
  done
  ! kill -0 "$program" 2>/dev/null
}
