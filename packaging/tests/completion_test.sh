#!/usr/bin/env bash
# Checks the bash completion of kelvox-cli: it registers itself, offers every command and, for
# each command, every option the program's own help lists and not one already given, and
# completes the values of --source and --ids with their words and file names and -s with the
# machine's addresses.
#   completion_test.sh COMPLETION_FILE KELVOX_CLI
set -u
completion=$1
cli=$2
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# shellcheck source=/dev/null
source "$completion" || { echo "FAIL: cannot source $completion"; exit 1; }

# What the completion offers for the words given, the last one being completed; one per line.
offers() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMPREPLY=()
  _kelvox_cli
  printf '%s\n' "${COMPREPLY[@]}"
}

# expect_offer WORD WORDS...: WORD is among the offers for WORDS.
expect_offer() {
  local word=$1
  shift
  offers "$@" | grep -qxF -- "$word" || fail "'$*' does not offer '$word' (offers: $(offers "$@" | tr '\n' ' '))"
}

expect_no_offer() {
  local word=$1
  shift
  offers "$@" | grep -qxF -- "$word" && fail "'$*' offers '$word'"
  return 0
}

registered=$(complete -p kelvox-cli 2>&1)
[ "$registered" = "complete -F _kelvox_cli kelvox-cli" ] || fail "complete -p kelvox-cli: $registered"

first=$(offers kelvox-cli "" | tr '\n' ' ')
[ "$first" = "scan list details find capture tree health diff help version --help --version " ] ||
  fail "first word offers: $first"
[ "$(offers kelvox-cli de | tr '\n' ' ')" = "details " ] || fail "'de' does not complete to details"

# Every command the program's help lists, and every option each command's help lists.
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z][a-z]*\) .*/\1/p')
[ -n "$commands" ] || fail "no commands in $cli --help"
for command in $commands; do
  expect_offer "$command" kelvox-cli ""
  [ "$command" = help ] || [ "$command" = version ] && continue
  expect_offer "$command" kelvox-cli help ""
  # -h is offered as --help.
  options=$("$cli" help "$command" | grep -o -- '^  --\?[a-zA-Z][a-z-]*' | tr -d ' ' | grep -vx -- -h | sort -u)
  [ -n "$options" ] || fail "no options in $cli help $command"
  for option in $options; do
    expect_offer "$option" kelvox-cli "$command" -
  done
done

# Option values: words and file names, in a folder holding one file.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
: >bus.txt
for words in "kelvox-cli scan --source" "kelvox-cli list --bus 1 --source" "kelvox-cli tree --source"; do
  # shellcheck disable=SC2086
  for value in sysfs port bus.txt; do expect_offer "$value" $words ""; done
  # The Windows device manager is no choice on this system.
  # shellcheck disable=SC2086
  expect_no_offer cfgmgr $words ""
done
expect_offer sysfs kelvox-cli capture --source ""
expect_offer bus.txt kelvox-cli capture --source ""
expect_no_offer port kelvox-cli capture --source ""
for value in embedded system bus.txt; do expect_offer "$value" kelvox-cli list --ids ""; done
expect_offer bus.txt kelvox-cli capture -o ""
expect_no_offer --json kelvox-cli capture -o ""
# "--source=VALUE", as bash splits it at the "=" and as one word.
expect_offer sysfs kelvox-cli scan --source = ""
expect_offer port kelvox-cli scan --source = p
expect_offer embedded kelvox-cli find --ids=
expect_no_offer --json kelvox-cli scan --bus ""
# An option already given is not offered again, in either form.
expect_no_offer --json kelvox-cli list --json ""
expect_no_offer --source kelvox-cli list --source=bus.txt ""
expect_offer --ids kelvox-cli list --json ""
# -s and details take this machine's addresses as lspci writes them.
for path in /sys/bus/pci/devices/*; do
  [ -e "$path" ] || continue
  address=${path##*/}
  address=${address#0000:}
  expect_offer "$address" kelvox-cli list -s ""
  expect_offer "$address" kelvox-cli details ""
done

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "completion: every command and option offered"
