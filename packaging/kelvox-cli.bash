# bash completion for kelvox-cli: the commands, each command's options (an option already on the
# line is not offered again), the addresses of this machine's functions for -s and details, and
# the values of --source (sysfs, port or a captured file; cfgmgr is the Windows device manager,
# which is not offered here), --ids (embedded, system or a pci.ids file) and -o (a file).
# Self-contained: it needs nothing from the bash-completion package.

_kelvox_cli_files() {
  # File names for the word being completed, with the words in $1 offered first.
  local cur=$1
  shift
  compopt -o filenames 2>/dev/null
  COMPREPLY=($(compgen -W "$*" -- "$cur") $(compgen -f -- "$cur"))
}

_kelvox_cli_addresses() {
  # The functions of this machine as lspci writes them: BB:DD.F in domain 0000, DDDD:BB:DD.F
  # in any other.
  local cur=$1 path name addresses=
  for path in /sys/bus/pci/devices/*; do
    [ -e "$path" ] || continue
    name=${path##*/}
    addresses+=" ${name#0000:}"
  done
  COMPREPLY=($(compgen -W "$addresses" -- "$cur"))
}

_kelvox_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  local commands="scan list details find capture tree health diff help version"
  COMPREPLY=()

  if ((COMP_CWORD == 1)); then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return 0
  fi

  local command=${COMP_WORDS[1]}
  local options
  case $command in
    scan) options="--bus --function --header -s -d --domain --source --json --help" ;;
    list) options="--bus --vendor --class -s -d -D --source --ids --json --help" ;;
    details) options="--bus --function --all -s -d --domain --source --ids --json --help" ;;
    find) options="--vendor --device --class --ids --json --help" ;;
    capture) options="--bus --all -o -s -d --source --help" ;;
    tree) options="-s -d -D --source --ids --json --help" ;;
    health) options="-D --source --ids --json --format -o --watch --count --help" ;;
    diff) options="--json --help" ;;
    help)
      ((COMP_CWORD == 2)) && COMPREPLY=($(compgen -W "${commands% version}" -- "$cur"))
      return 0
      ;;
    *) return 0 ;;
  esac

  # The value of an option given as "--option=VALUE": bash splits the words at "=", so the
  # option is one or two words back; without that split the word holds all of it.
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
    prev=${COMP_WORDS[COMP_CWORD - 2]}
  elif [[ $cur == --*=* ]]; then
    prev=${cur%%=*}
    cur=${cur#*=}
  fi

  case $prev in
    --source)
      # Port I/O cannot be captured (sizing would write to the devices).
      if [[ $command == capture ]]; then
        _kelvox_cli_files "$cur" sysfs
      else
        _kelvox_cli_files "$cur" sysfs port
      fi
      return 0
      ;;
    --ids)
      _kelvox_cli_files "$cur" embedded system
      return 0
      ;;
    -o)
      _kelvox_cli_files "$cur"
      return 0
      ;;
    -s)
      _kelvox_cli_addresses "$cur"
      return 0
      ;;
    --function)
      COMPREPLY=($(compgen -W "0 1 2 3 4 5 6 7" -- "$cur"))
      return 0
      ;;
    --bus | --domain | --vendor | --device | --class | -d)
      # A number or hexadecimal ID: nothing to offer.
      return 0
      ;;
  esac

  # diff's two sources: captures, or the live bus.
  if [[ $command == diff && $cur != -* ]]; then
    _kelvox_cli_files "$cur" sysfs
    return 0
  fi

  # The address of details, before any option.
  if [[ $command == details && $cur != -* ]]; then
    _kelvox_cli_addresses "$cur"
    return 0
  fi

  # The options not on the line yet (each is taken once; --option=VALUE counts too).
  local word given=" " i
  for ((i = 2; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    given+="${word%%=*} "
  done
  local left=
  for word in $options; do
    [[ $given == *" $word "* ]] || left+=" $word"
  done
  COMPREPLY=($(compgen -W "$left" -- "$cur"))
  return 0
}

complete -F _kelvox_cli kelvox-cli
