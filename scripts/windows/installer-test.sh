#!/usr/bin/env bash
# Checks the Windows installer of a build (make windows-installer) under Wine, on a virtual X
# display and in a fresh Wine prefix of its own, as a new machine: the silent install (/S) puts
# both programs into C:\Program Files\Kelvox with a Start-menu entry and registers the
# uninstaller in the 64-bit registry; the installed kelvox.exe opens its window; the silent
# uninstall started from the registered command removes the files, the entry and the key.
# Usage: scripts/windows/installer-test.sh [build folder]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-windows}
[[ "$build" = /* ]] || build="$root/$build"
build=$(cd "$build" && pwd)
if [ -z "${KELVOX_INSTALLER_INNER:-}" ]; then
  exec env KELVOX_INSTALLER_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

[ -f "$build/CMakeCache.txt" ] || { echo "windows/installer: $build is no build folder (make windows)" >&2; exit 1; }
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cache_value CMAKE_PROJECT_VERSION)
wine=$(cache_value KELVOX_WINE64)
wineserver=$(cache_value KELVOX_WINESERVER)
installer="$build/Kelvox-Setup-$version.exe"

passed=0
failed=0
pass() { echo "windows/installer: ok: $*"; passed=$((passed + 1)); }
fail() { echo "windows/installer: FAILED: $*" >&2; failed=$((failed + 1)); }
finish() {
  kill "${program:-}" 2>/dev/null || true
  WINEPREFIX="$WINEPREFIX" "$wineserver" -k 2>/dev/null || true
  [ "$failed" -eq 0 ] && rm -rf "$WINEPREFIX"
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
# A failure after which the remaining checks mean nothing.
stop() { fail "$*"; finish || exit 1; }

. "$root/scripts/windows/window-escape.sh"

[ -f "$installer" ] || { echo "windows/installer: $installer is missing (make windows-installer)" >&2; exit 1; }

# The prefix's own server, started with this display; no Wine menu entries in the user's
# desktop for the Start-menu entry the installer makes.
export WINEPREFIX="$build/installer-prefix"
export WINEDEBUG=-all
export WINELOADER="$wine"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1 || stop "wineboot could not make a prefix"

drive_c="$WINEPREFIX/drive_c"
instdir="$drive_c/Program Files/Kelvox"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvox.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvox'
wow_key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Kelvox'

# One value of the uninstall key, as `reg query` prints it after its type; empty when missing.
reg_value() {
  { "$wine" reg query "$key" /v "$1" 2>/dev/null || true; } | tr -d '\r' |
    sed -n "s/^ *$1 \{2,\}REG_[A-Z_]* \{2,\}//p"
}
expect_value() {
  local actual
  actual=$(reg_value "$1")
  if [ "$actual" = "$2" ]; then pass "$1 is $2"; else fail "$1 is '$actual', not '$2'"; fi
}

# Install.
[ ! -e "$instdir" ] || stop "$instdir exists before the install"
"$wine" "$installer" /S >/dev/null 2>&1 || stop "the silent install failed (exit status $?)"
for file in kelvox.exe:ui kelvox-cli.exe:cli; do
  name=${file%%:*}
  if cmp -s "$instdir/$name" "$build/${file#*:}/$name"; then pass "$name installed"
  else fail "$instdir/$name is missing or not the build's"; fi
done
if [ -f "$instdir/uninstall.exe" ]; then pass "uninstall.exe installed"; else fail "no uninstall.exe"; fi
if [ -f "$shortcut" ]; then pass "Start-menu entry"; else fail "no $shortcut"; fi

expect_value DisplayName "Kelvox"
expect_value DisplayVersion "$version"
expect_value Publisher "The Kelvox developers"
expect_value InstallLocation 'C:\Program Files\Kelvox'
expect_value DisplayIcon 'C:\Program Files\Kelvox\kelvox.exe,0'
expect_value UninstallString '"C:\Program Files\Kelvox\uninstall.exe"'
expect_value QuietUninstallString '"C:\Program Files\Kelvox\uninstall.exe" /S'
# EstimatedSize is in KiB: the three installed files, give or take a KiB each for rounding.
size=$(reg_value EstimatedSize)
bytes=$(cat "$instdir"/*.exe | wc -c)
if [[ "$size" =~ ^0x[0-9a-f]+$ ]] && (( size * 1024 > bytes - 3 * 1024 && size * 1024 < bytes + 3 * 1024 )); then
  pass "EstimatedSize is $((size)) KiB"
else
  fail "EstimatedSize is '$size', the files hold $bytes bytes"
fi
# The key is the 64-bit system's own, not the 32-bit programs' copy of it.
if "$wine" reg query "$wow_key" >/dev/null 2>&1; then fail "the key is in the 32-bit view too"
else pass "the key is in the 64-bit view only"; fi

# The installed programs run: the terminal program answers --version, the window opens and
# Escape ends it.
cli_version=$("$wine" "$instdir/kelvox-cli.exe" --version 2>/dev/null | tr -d '\r' || true)
if [ "$cli_version" = "kelvox-cli $version" ]; then pass "kelvox-cli.exe --version"
else fail "kelvox-cli.exe --version printed '$cli_version'"; fi

"$wine" "$instdir/kelvox.exe" >/dev/null 2>&1 &
program=$!
window=$(wait_for_window "$program")
if [ -n "$window" ]; then
  pass "the installed kelvox.exe opened its window"
else
  fail "the installed kelvox.exe opened no window within 30 s"
fi
escape_ends "$program" "$window" || stop "kelvox.exe still runs 15 s after Escape"
wait "$program" || true
program=""

# Uninstall with the command the key gives. The uninstaller runs on from a copy of itself in
# the temporary folder, so the started one returns at once: wait until its work is done.
quiet=$(reg_value QuietUninstallString)
uninstaller=$(sed -n 's/^"\([^"]*\)" \/S$/\1/p' <<<"$quiet")
[ -n "$uninstaller" ] || stop "no uninstaller in the QuietUninstallString '$quiet'"
"$wine" "$uninstaller" /S >/dev/null 2>&1 || stop "the silent uninstall failed (exit status $?)"
for _ in $(seq 1 150); do
  [ ! -e "$instdir" ] && ! "$wine" reg query "$key" >/dev/null 2>&1 && break
  sleep 0.2
done
if [ ! -e "$instdir" ]; then pass "the install folder is gone"
else fail "left behind: $(cd "$instdir" && ls -A | tr '\n' ' ')"; fi
if [ ! -e "$shortcut" ]; then pass "the Start-menu entry is gone"; else fail "$shortcut is left"; fi
if "$wine" reg query "$key" >/dev/null 2>&1; then fail "the uninstall key is left"
else pass "the uninstall key is gone"; fi

finish
