#!/usr/bin/env bash
# check-man-pages.sh MAN1_DIR KESTROVA_CLI
# Both man pages render without a warning, and kestrova-cli(1) lists the options (with the
# names of their values) and the exit statuses that `kestrova-cli --help` lists.
set -uo pipefail
man1=$1 cli=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for page in kestrova kestrova-cli; do
    warnings=$(MANWIDTH=80 man --warnings -l "$man1/$page.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$page(1) renders with warnings: $warnings"
done

# "--name VALUE" at the start of an option's entry; VALUE only when it is in capitals.
option_entries() { sed -n -E "s/^$1(--[a-z0-9-]+)( [A-Z_]+)?([[:space:]].*)?\$/\1\2/p" | sort; }
# The text of one section of the rendered page.
section() { awk -v s="$1" '/^[A-Z]/ { on = ($0 == s) } on && !/^[A-Z]/'; }

help=$("$cli" --help) || fail "kestrova-cli --help failed"
page=$(MANWIDTH=200 man -l "$man1/kestrova-cli.1.gz" 2>/dev/null)

from_help=$(option_entries "  " <<<"$help")
from_page=$(section OPTIONS <<<"$page" | option_entries "       ")
[[ -n $from_help ]] || fail "no options found in --help"
if [[ $from_help != "$from_page" ]]; then
    fail "options differ (< --help, > man page):"
    diff <(echo "$from_help") <(echo "$from_page")
fi

statuses_help=$(grep -i '^Exit status:' <<<"$help" | grep -oE '\b[0-9]+\b' | sort -n | paste -sd' ')
statuses_page=$(section "EXIT STATUS" <<<"$page" | sed -n -E 's/^       ([0-9]+)\b.*/\1/p' | sort -n | paste -sd' ')
[[ -n $statuses_help ]] || fail "no exit statuses found in --help"
[[ $statuses_help == "$statuses_page" ]] ||
    fail "exit statuses differ: --help '$statuses_help', man page '$statuses_page'"

((failures == 0)) && echo "man pages agree with --help"
exit $((failures > 0))
