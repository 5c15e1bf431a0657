#!/usr/bin/env bash
# man_page_options.sh ORVANE-CLI PAGE.1: every command, option and answer
# command that `orvane-cli --help` names appears in the man page.
set -euo pipefail
cli="$1"
page="$2"
help="$("$cli" --help)"
# The page as man shows it: \- is a minus, \e a backslash.
text="$(sed -e 's/\\-/-/g' -e 's/\\e/\\/g' "$page")"
words="$(
    grep -oE -- '(^|[^a-z-])--?[a-z][a-z-]*' <<<"$help" | sed -E 's/^[^-]+//'
    grep -oE 'orvane-cli [a-z]+' <<<"$help" | sed 's/^orvane-cli //'
    grep -oE '\\[a-z][a-z-]+' <<<"$help"
)"
missing=()
count=0
for w in $(sort -u <<<"$words"); do
    count=$((count + 1))
    grep -qF -- "$w" <<<"$text" || missing+=("$w")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "not in $page: ${missing[*]}" >&2
    exit 1
fi
[ "$count" -ge 30 ] || { echo "only $count words found in --help" >&2; exit 1; }
echo "$count commands and options of --help are all in $page"
