# Sourced: the user a private compositor runs as. Compositors refuse root,
# so as root a throwaway system user is made (and removed afterwards); as
# anyone else, that user.
#   make_session_user <prefix>   sets SESSION_USER (<prefix>-<pid> when made)
#                                and SESSION_USER_MADE
#   exec_as_session_user <VAR=value...> -- <command...>
#                                runs the command in place of the shell with
#                                only those variables, as that user
#   remove_session_user          ends what still runs as the user, each by
#                                its PID, and removes it
#   end_session <folder> <pid>...  ends each PID given (empty ones skipped),
#                                then the user, and removes the folder
#   await_compositor <name> <pid> <log> <condition...>
#                                true once the condition holds; false, with
#                                the log, if the compositor ends or 30 s
#                                pass first

SESSION_USER=""
SESSION_USER_MADE=""

make_session_user() {
    if [ "$(id -u)" = 0 ]; then
        SESSION_USER=$1-$$
        useradd --system --no-create-home --shell /usr/sbin/nologin "$SESSION_USER" || return 1
        SESSION_USER_MADE=1
    else
        SESSION_USER=$(id -un)
    fi
}

exec_as_session_user() {
    local vars=()
    while [ "$1" != -- ]; do
        vars+=("$1")
        shift
    done
    shift
    if [ -n "$SESSION_USER_MADE" ]; then
        exec env -i "${vars[@]}" setpriv --reuid="$SESSION_USER" --regid="$SESSION_USER" --init-groups -- "$@"
    fi
    exec env -i "${vars[@]}" "$@"
}

remove_session_user() {
    [ -n "$SESSION_USER_MADE" ] || return 0
    # What the session started (a bar, an idle manager) goes too: the user
    # cannot be removed while it runs.
    local pid limit=$((SECONDS + 30))
    while pid=$(pgrep -u "$SESSION_USER" | head -n1) && [ -n "$pid" ]; do
        kill "$pid" 2>/dev/null || true
        [ "$SECONDS" -ge "$limit" ] && break
        sleep 0.1
    done
    userdel "$SESSION_USER" 2>/dev/null || echo "could not remove the user $SESSION_USER" >&2
    SESSION_USER_MADE=""
}

end_session() {
    local folder=$1 pid
    shift
    for pid; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    remove_session_user
    [ -z "$folder" ] || rm -rf "$folder"
}

await_compositor() {
    local name=$1 pid=$2 log=$3 limit=$((SECONDS + 30))
    shift 3
    until "$@"; do
        if [ "$SECONDS" -ge "$limit" ] || ! kill -0 "$pid" 2>/dev/null; then
            echo "$name did not start:" >&2
            cat "$log" >&2
            return 1
        fi
        sleep 0.1
    done
}
