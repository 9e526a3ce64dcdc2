# bash completion for kelvox-cli: the commands, each command's options, and the values of
# --source (sysfs, cfgmgr, port or a captured file), --ids (embedded, system or a pci.ids file)
# and -o (a file). Self-contained: it needs nothing from the bash-completion package.

_kelvox_cli_files() {
  # File names for the word being completed, with the words in $1 offered first.
  local cur=$1
  shift
  compopt -o filenames 2>/dev/null
  COMPREPLY=($(compgen -W "$*" -- "$cur") $(compgen -f -- "$cur"))
}

_kelvox_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  local commands="scan list details find capture tree help"
  COMPREPLY=()

  if ((COMP_CWORD == 1)); then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return 0
  fi

  local command=${COMP_WORDS[1]}
  case $command in
    scan) local options="--bus --function --domain --source --json --help" ;;
    list) local options="--bus --vendor --class --source --ids --json --help" ;;
    details) local options="--bus --function --domain --source --ids --json --help" ;;
    find) local options="--vendor --device --class --ids --json --help" ;;
    capture) local options="--bus --all -o --source --help" ;;
    tree) local options="--source --ids --json --help" ;;
    help)
      ((COMP_CWORD == 2)) && COMPREPLY=($(compgen -W "$commands" -- "$cur"))
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
        _kelvox_cli_files "$cur" sysfs cfgmgr
      else
        _kelvox_cli_files "$cur" sysfs cfgmgr port
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
    --function)
      COMPREPLY=($(compgen -W "0 1 2 3 4 5 6 7" -- "$cur"))
      return 0
      ;;
    --bus | --domain | --vendor | --device | --class)
      # A number or hexadecimal ID: nothing to offer.
      return 0
      ;;
  esac

  COMPREPLY=($(compgen -W "$options" -- "$cur"))
  return 0
}

complete -F _kelvox_cli kelvox-cli
