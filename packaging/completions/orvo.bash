# bash completion for orvo, the ViewOrvo command-line tool.

_orvo()
{
    local cur prev words cword
    _init_completion -s || return

    local commands="check convert speak voices hear"

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
        --output)
            _filedir wav
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
        --language)
            COMPREPLY=($(compgen -W "auto en ja" -- "$cur"))
            return
            ;;
        --voice | --words)
            # A voice name (orvo voices lists them) or the words: free text.
            return
            ;;
    esac
    # "--name=VALUE" was split at the "=" by _init_completion -s.
    $split && return

    local options files
    case ${words[1]} in
        check)
            options="--settings --codepage --message-format --strict --quiet --help"
            files=orv
            ;;
        convert)
            options="--settings --codepage --message-format --with-player --quiet --help"
            files=orv
            ;;
        speak)
            options="--voice --language --codepage --output --timings --help"
            files=""
            ;;
        hear)
            options="--words"
            files=wav
            ;;
        *)
            return
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --" -- "$cur"))
        return
    fi
    [[ -n $files ]] && _filedir "$files"
} &&
    complete -F _orvo orvo
