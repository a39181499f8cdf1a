#!/usr/bin/env bash
# check-completion.sh COMPLETION_SCRIPT KESTROVA_CLI
# The installed completion loads in bash and completes options, formats and the kinds of
# path each option takes, in a temporary folder with one folder and one file.
set -uo pipefail
script=$1 cli=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# shellcheck source=/dev/null
source "$script" || { echo "FAIL: $script does not load"; exit 1; }
[[ $(complete -p kestrova-cli 2>/dev/null) == *"-F _kestrova_cli"* ]] ||
    fail "no completion registered for kestrova-cli"

# complete WORD...: the candidates for the last word, sorted, on one line.
complete_words() {
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    _kestrova_cli 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}
expect() {  # expected, words...
    local want=$1; shift
    local got; got=$(complete_words "$@")
    [[ $got == "$want" ]] || fail "kestrova-cli $* <TAB>: got '$got', want '$want'"
}

work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
cd "$work" && mkdir pages && touch page-list.txt

expect "--format" --for
expect "--brave" --bra
expect "--per-page" --per
expect "tsv" --format t
expect "jsonl list tsv" --format ""
expect "pages" --download p
expect "page-list.txt pages" --output p
expect "page-list.txt pages" --log p
expect "" --from ""
every=$(complete_words --)
for option in $("$cli" --help | sed -n -E 's/^  (--[a-z0-9-]+).*/\1/p'); do
    [[ " $every " == *" $option "* ]] || fail "-- <TAB> does not offer $option"
done

((failures == 0)) && echo "completion works"
exit $((failures > 0))
