# bash completion for velloria-cli: commands, options, formats and the folder names of the
# library come from the tool itself (velloria-cli --complete), paths from the shell.

_velloria_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} words=() word i
    for ((i = 1; i <= COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        # The shell's quoting of what was typed so far: backslashes and quotes.
        word=${word//\\/}
        word=${word//\"/}
        word=${word//\'/}
        words+=("$word")
    done
    local IFS=$'\n'
    local candidates=($("${COMP_WORDS[0]}" --complete "${words[@]}" 2>/dev/null))
    COMPREPLY=()
    case ${candidates[0]-} in
    :file)
        if declare -F _filedir >/dev/null; then _filedir; else COMPREPLY=($(compgen -f -- "$cur")); fi
        return
        ;;
    :directory)
        if declare -F _filedir >/dev/null; then _filedir -d; else COMPREPLY=($(compgen -d -- "$cur")); fi
        return
        ;;
    esac
    # Each candidate quoted as the word was begun: in the same quotes, or with backslashes.
    local candidate
    for candidate in "${candidates[@]}"; do
        case $cur in
        \'*) COMPREPLY+=("'$candidate'") ;;
        \"*) COMPREPLY+=("\"$candidate\"") ;;
        *) COMPREPLY+=("$(printf '%q' "$candidate")") ;;
        esac
    done
}
complete -F _velloria_cli velloria-cli
