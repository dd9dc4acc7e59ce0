#!/bin/bash
# unwritable_answers_test.sh <program...>: --help and --version into a full disk or a closed
# output end each with a message and a non-zero exit code (not silently, or with 0).
. "$(dirname "$0")/../support/shell_test_lib.sh"
err=$(mktemp)
trap 'rm -f "$err"' EXIT
for program in "$@"; do
    for request in --help --version; do
        for output in /dev/full closed; do
            what="$program $request, standard output $output"
            if [ "$output" = closed ]; then "$program" "$request" >&- 2>"$err"; else "$program" "$request" >"$output" 2>"$err"; fi &&
                fail "$what: exit code 0"
            grep -q "^${program##*/}: cannot write" "$err" || fail "$what: \"$(cat "$err")\""
        done
    done
done
echo "PASS: $*"
