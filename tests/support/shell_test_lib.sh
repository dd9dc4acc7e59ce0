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
