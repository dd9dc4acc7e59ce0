# Sourced by the shell tests: failing with a reason, and waiting for a
# condition with a generous limit instead of a fixed sleep.

# Says what failed, and what failure_details (if the test defines it) adds.
fail() {
    echo "FAIL: $*" >&2
    if declare -F failure_details >/dev/null; then
        failure_details >&2
    fi
    exit 1
}

# wait_until <seconds> <command...>: true once the command succeeds.
wait_until() {
    local limit=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$limit" ] && return 1
        sleep 0.1
    done
}

# start_work <stop command>: a scratch folder $work (mode 0755, so that a
# throwaway user can reach it) and a list pids of what the test starts; at
# exit each of those is ended by its PID, then the stop command runs and
# the folder goes.
start_work() {
    work=$(mktemp -d)
    chmod 0755 "$work"
    pids=()
    WORK_STOP=$1
    trap end_work EXIT
}

end_work() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    $WORK_STOP
    rm -rf "$work"
}

# refused <what> <exit code> <pattern> <command...>: the command ends with
# that code, nothing on standard output and one line on standard error
# (left in $work/refusal) that matches the pattern.
refused() {
    local what=$1 expected=$2 pattern=$3 code
    shift 3
    "$@" >"$work/out" 2>"$work/refusal"
    code=$?
    [ "$code" = "$expected" ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/refusal")" = 1 ] &&
        grep -q -- "$pattern" "$work/refusal" ||
        fail "$what: exit code $code (wanted $expected), it said: $(cat "$work/out" "$work/refusal")"
}

gone() { ! kill -0 "$1" 2>/dev/null; }
# reaped <how>: the saver ($SAVER), ended by that, exits with 0.
reaped() {
    wait "$SAVER"
    local code=$?
    [ "$code" = 0 ] || fail "exit code $code after $1"
}

# For the tests of programs that edit a home folder: home_snapshot
# [inodes] is $HOME as ls shows it and what its files hold (with "inodes",
# also which file each name is, so that a rewrite shows); home_kept <what>
# <snapshot> [inodes] fails unless $HOME is still so.
fresh_home() { rm -rf "$HOME" && mkdir "$HOME"; }
home_snapshot() {
    local format='%p %y %m %u %g %l'
    [ -z "${1:-}" ] || format+=' %i'
    (cd "$HOME" && find . -printf "$format\n" | sort && find . -type f -exec md5sum {} + | sort)
}
home_kept() {
    local now
    now=$(home_snapshot "${3:-}")
    [ "$now" = "$2" ] || fail "$1: the home folder changed: $(diff <(echo "$2") <(echo "$now"))"
}
