# SPDX-License-Identifier: GPL-2.0-or-later
# bash completion for kirrup-cli
_kirrup_cli() {
  local cur prev words cword
  _init_completion || return

  local commands="help settings compose show image send status simulate glyph"
  if [[ $cword -eq 1 ]]; then
    COMPREPLY=($(compgen -W "$commands" -- "$cur"))
    return
  fi

  local command=${words[1]}
  case $prev in
    --led)
      COMPREPLY=($(compgen -W "7 11 16" -- "$cur"))
      return
      ;;
    --open)
      COMPREPLY=($(compgen -W "0 1 2 3 4 5 6 7 8" -- "$cur"))
      return
      ;;
    --middle-effect)
      COMPREPLY=($(compgen -W "0 1 2 3" -- "$cur"))
      return
      ;;
    --close)
      COMPREPLY=($(compgen -W "0 1 2 3 4 5 6" -- "$cur"))
      return
      ;;
    --color)
      COMPREPLY=($(compgen -W "red green blue yellow" -- "$cur"))
      return
      ;;
    --system-font)
      local IFS=$'\n'
      COMPREPLY=($(compgen -W "$(fc-list : family 2>/dev/null | cut -d, -f1 | sort -u)" -- "$cur"))
      return
      ;;
    --line | --ticks | --row | --scale | --size)
      return
      ;;
    --png)
      _filedir png
      return
      ;;
    -o)
      case $command in
        compose) _filedir '@(LDAT|ldat)' ;;
        simulate) _filedir gif ;;
        *) _filedir ;;
      esac
      return
      ;;
  esac

  local options=""
  case $command in
    compose) options="--led --middle --builtin-font --system-font --line --open --middle-effect --close -o" ;;
    show) options="--png --row --scale --size" ;;
    image) options="-o" ;;
    simulate) options="-o --color --ticks" ;;
    glyph) options="--led --builtin-font --system-font" ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  case $command in
    show | image | send | simulate) _filedir '@(LDAT|ldat)' ;;
  esac
} &&
  complete -F _kirrup_cli kirrup-cli
