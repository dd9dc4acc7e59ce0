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
