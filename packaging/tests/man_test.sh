#!/usr/bin/env bash
# Checks a manual page: it renders with man -l, groff -ww and lexgrog without a warning, has the
# sections a page of section 1 has, and names every command and option the program's own help
# lists (so the page cannot fall behind the program). Skips (status 77) when man or groff is not
# installed.
#   man_test.sh PAGE PROGRAM    (PROGRAM kelvox-cli, or kelvox, run for its --help)
set -u
page=$1
program=$2
for tool in man groff lexgrog; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done
[ -f "$page" ] || { echo "FAIL: $page was not built"; exit 1; }

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

warnings=$(mktemp)
trap 'rm -f "$warnings"' EXIT
text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>"$warnings")
[ -s "$warnings" ] && fail "man -l $page warns: $(cat "$warnings")"
groff_warnings=$(LC_ALL=C.UTF-8 groff -k -ww -z -man -Tutf8 "$page" 2>&1)
[ -z "$groff_warnings" ] || fail "groff -ww warns: $groff_warnings"
whatis=$(lexgrog "$page" 2>&1)
grep -q ": \"$(basename "$page" .1) - " <<<"$whatis" || fail "lexgrog reads no NAME line: $whatis"

for section in NAME SYNOPSIS DESCRIPTION OPTIONS "ACCESS METHODS" "CAPTURE FORMAT" \
               ENVIRONMENT FILES "EXIT STATUS" EXAMPLES "SEE ALSO"; do
  grep -qx "$section" <<<"$text" || fail "$page has no section $section"
done
grep -q '[a-z-]* [0-9]*\.[0-9]*\.[0-9]*' <<<"$text" || fail "$page carries no version"

# Every word the program's help lists: its commands and each command's options, or its options.
words=$("$program" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z][a-z]*\) .*/\1/p')
for command in $words; do
  [ "$command" = help ] || [ "$command" = version ] && continue
  words="$words $("$program" help "$command" | grep -o -- '^  --\?[a-zA-Z][a-z-]*' | tr -d ' ')"
done
words="$words $("$program" --help | grep -o -- '^  --\?[a-zA-Z][a-z-]*' | tr -d ' ')"
[ -n "$(tr -d ' ' <<<"$words")" ] || fail "$program --help lists nothing"
for word in $(tr ' ' '\n' <<<"$words" | sort -u); do
  grep -qw -- "$word" <<<"$text" || fail "$page does not name $word"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "$page: renders without warnings, names $(wc -w <<<"$words") words of $program's help"
