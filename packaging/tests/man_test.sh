#!/usr/bin/env bash
# Checks that a manual page renders with man -l, without warnings, and names every word given
# (the subcommands, the options) and the sections its include files add. Skips (status 77)
# when man is not installed or the page was not built (no help2man).
#   man_test.sh PAGE WORD...
set -u
page=$1
shift
if ! command -v man >/dev/null 2>&1; then
  echo "SKIP: man is not installed"
  exit 77
fi
if [ ! -f "$page" ]; then
  echo "SKIP: $page was not built (help2man missing when configuring)"
  exit 77
fi

warnings=$(mktemp)
trap 'rm -f "$warnings"' EXIT
text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>"$warnings")
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

[ -s "$warnings" ] && fail "man -l $page warns: $(cat "$warnings")"
for section in NAME SYNOPSIS DESCRIPTION "ACCESS METHODS" "EXIT STATUS" "SEE ALSO"; do
  grep -qx "$section" <<<"$text" || fail "$page has no section $section"
done
for word in "$@"; do
  grep -qw -- "$word" <<<"$text" || fail "$page does not name $word"
done
# The version line help2man takes from --version.
grep -Eq '[a-z-]+ [0-9]+\.[0-9]+\.[0-9]+' <<<"$text" || fail "$page carries no version"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "$page: renders, names $*"
