# bash completion for vantaro-cli

_vantaro_cli_list() {
    # Completes the last item of a comma-separated list from the choices not yet in it.
    local choices=$1 current=$2
    local done_part="" last=$current
    if [[ $current == *,* ]]; then
        done_part=${current%,*},
        last=${current##*,}
    fi
    local choice
    COMPREPLY=()
    for choice in $choices; do
        [[ ,$done_part == *,$choice,* ]] && continue
        [[ $choice == "$last"* ]] && COMPREPLY+=("$done_part$choice")
    done
    compopt -o nospace
}

_vantaro_cli() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --settings)
            _filedir ini
            return
            ;;
        --ignore | -j | --jobs)
            return
            ;;
        --tags)
            _vantaro_cli_list "img area input" "$cur"
            return
            ;;
        --report)
            _vantaro_cli_list "alt title" "$cur"
            return
            ;;
        --color)
            COMPREPLY=($(compgen -W "auto always never" -- "$cur"))
            return
            ;;
        --format)
            COMPREPLY=($(compgen -W "text jsonl sarif" -- "$cur"))
            return
            ;;
        -h | --help | --version)
            return
            ;;
    esac
    $split && return

    # The command is the first word that is neither an option nor an option's value.
    local i command="" options_ended=""
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --) options_ended=1 ;;
            --settings | --ignore | --tags | --report | --color | --format | -j | --jobs) ((i++)) ;;
            -*) [[ $options_ended ]] || continue ;;&
            *)
                if [[ -z $command ]]; then
                    command=${words[i]}
                fi
                ;;
        esac
    done

    if [[ $cur == -* && -z $options_ended ]]; then
        COMPREPLY=($(compgen -W "-r --recursive --settings --no-settings --tags= --report=
            --ignore --preview -j --jobs -y --yes --color= --format= --list-refs --restore -h --help
            --version" \
            -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "scan add-alt add-title recover" -- "$cur"))
        return
    fi
    _filedir
}

complete -F _vantaro_cli vantaro-cli
