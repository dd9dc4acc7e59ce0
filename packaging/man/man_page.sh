#!/bin/sh
# man_page.sh <template> <program> <version> <output.gz>
#
# A manual page from its template: @VERSION@ becomes the version and the
# line @OPTIONS@ the option list that "<program> --help" prints, so that the
# page and the program cannot disagree. Compressed with gzip -9n, as Debian
# wants manual pages (no name or time stamp, the same bytes on every build).
#
# Read from --help: a line "  -x, --name VALUE|WORD    what it does" is an
# option (words starting with '-' in bold, the rest in italics), a more
# indented line without a dash continues its text, and an unindented line
# ending in ':' heads a group of options. Other lines are the program's
# usage, which the template says in its own words.
set -eu
template=$1
program=$2
version=$3
out=$4

options=$("$program" --help | awk '
    function roff(text) { gsub(/\\/, "\\e", text); gsub(/-/, "\\-", text); return text }
    # In prose only the words that are options get minus signs.
    function prose(text,    n, words, i, out) {
        n = split(text, words, " ")
        for (i = 1; i <= n; i++)
            out = out (i > 1 ? " " : "") (words[i] ~ /^["(]?-/ ? roff(words[i]) : roff_plain(words[i]))
        gsub(/"/, "\\(dq", out)
        return out ~ /^[.\047]/ ? "\\&" out : out
    }
    function roff_plain(text) { gsub(/\\/, "\\e", text); return text }
    /^[ \t]+-/ {
        sub(/^[ \t]+/, "")
        spelling = $0; text = ""
        if (match($0, /[ \t][ \t]+/)) { spelling = substr($0, 1, RSTART - 1); text = substr($0, RSTART + RLENGTH) }
        n = split(spelling, words, " ")
        tag = ""
        for (i = 1; i <= n; i++)
            tag = tag (i > 1 ? " " : "") (words[i] ~ /^-/ ? "\\fB" : "\\fI") roff(words[i]) "\\fR"
        print ".TP"
        print tag
        print text == "" ? "\\&" : prose(text)
        option = 1
        next
    }
    /^[ \t]+[^ \t-]/ && option { sub(/^[ \t]+/, ""); print prose($0); next }
    /^[^ \t].*:$/ { sub(/:$/, ""); print ".SS " prose($0); option = 0; next }
    { option = 0 }
')
[ -n "$options" ] || { echo "man_page.sh: no options in $program --help" >&2; exit 1; }

page=$(mktemp)
trap 'rm -f "$page"' EXIT
while IFS= read -r text || [ -n "$text" ]; do
    if [ "$text" = "@OPTIONS@" ]; then
        printf '%s\n' "$options"
    else
        printf '%s\n' "$text" | sed "s/@VERSION@/$version/g"
    fi
done <"$template" >"$page"
gzip -9n -c "$page" >"$out"
