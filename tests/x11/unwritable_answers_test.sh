#!/bin/bash
# unwritable_answers_test.sh <program...>: --help and --version written into
# a full disk or a closed standard output end each program with a message
# on standard error and a non-zero exit code; they once ended silently, or
# with 0.
set -uo pipefail
. "$(dirname "$0")/../support/shell_test_lib.sh"

err=$(mktemp)
trap 'rm -f "$err"' EXIT
for program in "$@"; do
    name=$(basename "$program")
    for request in --help --version; do
        for output in full closed; do
            if [ "$output" = full ]; then
                "$program" "$request" >/dev/full 2>"$err"
            else
                "$program" "$request" >&- 2>"$err"
            fi
            code=$?
            what="$name $request, standard output $output"
            [ "$code" != 0 ] || fail "$what: exit code 0"
            grep -q "^$name: cannot write" "$err" || fail "$what: no message, only \"$(cat "$err")\""
        done
    done
done
echo "PASS: $*"
