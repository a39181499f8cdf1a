# bash completion for kestrova-cli.
# The options come from the program's own --help, so new options complete without an
# edit here; what their values are is told by the name of the value in the help.

_kestrova_cli_options() {
    # One list per program path, read once a shell.
    local program=$1 key
    key=$(printf '%s' "$program" | tr -c 'A-Za-z0-9' _)
    local cached="_kestrova_cli_help_$key"
    if [[ -z ${!cached-} ]]; then
        printf -v "$cached" '%s' "$(LC_ALL=C "$program" --help 2>/dev/null |
            sed -n -E 's/^  (--[a-z0-9-]+)( [A-Z_]+)?([[:space:]].*)?$/\1\2/p')"
    fi
    printf '%s\n' "${!cached}"
}

_kestrova_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local program=${COMP_WORDS[0]}
    COMPREPLY=()

    local option value=""
    while read -r option value; do
        [[ $option == "$prev" ]] && break
        value=""
    done < <(_kestrova_cli_options "$program")

    case $value in
    FORMAT) mapfile -t COMPREPLY < <(compgen -W "list tsv jsonl" -- "$cur"); return ;;
    DIR) compopt -o filenames; mapfile -t COMPREPLY < <(compgen -d -- "$cur"); return ;;
    FILE) compopt -o filenames; mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
    ?*) return ;;  # a number or an address: nothing to offer
    esac

    if [[ $cur == -* ]]; then
        local names
        names=$(_kestrova_cli_options "$program" | cut -d' ' -f1)
        mapfile -t COMPREPLY < <(compgen -W "$names" -- "$cur")
    fi
}
complete -F _kestrova_cli kestrova-cli
