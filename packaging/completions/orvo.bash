# bash completion for orvo, the ViewOrvo command-line tool.

_orvo()
{
    local cur prev words cword
    _init_completion -s || return

    local commands="check convert"
    local options="--settings --codepage --message-format --quiet --help"

    # The command is the first word after the program.
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi

    case $prev in
        --settings)
            _filedir
            return
            ;;
        --codepage)
            COMPREPLY=($(compgen -W "utf-8 shift_jis" -- "$cur"))
            return
            ;;
        --message-format)
            COMPREPLY=($(compgen -W "text json" -- "$cur"))
            return
            ;;
    esac
    # "--name=VALUE" was split at the "=" by _init_completion -s.
    $split && return

    if [[ $cur == -* ]]; then
        [[ ${words[1]} == convert ]] && options+=" --with-player"
        COMPREPLY=($(compgen -W "$options --" -- "$cur"))
        return
    fi
    _filedir orv
} &&
    complete -F _orvo orvo
