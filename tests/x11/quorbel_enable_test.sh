#!/bin/bash
# quorbel_enable_test.sh: quorbel-enable on real files, with a stand-in for
# XScreenSaver's app-defaults file. QUORBEL_ENABLE names the program.
set -uo pipefail

source "$(dirname "$0")/../support/shell_test_lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home QUORBEL_XSCREENSAVER_DEFAULTS=$work/XScreenSaver
mkdir -p "$HOME"
printf '%s\n' '*mode: random' '*programs: \' '    maze --root \n\' '    pyro --root \n' >"$QUORBEL_XSCREENSAVER_DEFAULTS"
file=$HOME/.xscreensaver

# No file: made from the defaults' list, with quorbel at its end.
"$QUORBEL_ENABLE" >/dev/null || fail "first run failed"
grep -q 'pyro --root \\n\\$' "$file" || fail "the defaults' list is not there: $(cat "$file")"
[ "$(tail -n1 "$file")" = "$(printf '\t\t\t\tquorbel --root \\n')" ] || fail "quorbel is not last: $(cat "$file")"
! grep -q '^mode' "$file" || fail "copied more than the list"

# Again: nothing written at all.
inode=$(stat -c %i "$file")
"$QUORBEL_ENABLE" | grep -q already || fail "the second run did not find it"
[ "$(stat -c %i "$file")" = "$inode" ] || fail "the second run rewrote the file"

# A file of the user's: other lines and the permissions kept.
printf '%s\n' 'timeout: 0:01:00' 'programs: maze --root' 'lock: True' >"$file"
chmod 600 "$file"
"$QUORBEL_ENABLE" >/dev/null || fail "run on the user's file failed"
[ "$(stat -c %a "$file")" = 600 ] || fail "permissions now $(stat -c %a "$file")"
[ "$(sed -n '1p;4p' "$file")" = "$(printf 'timeout: 0:01:00\nlock: True')" ] || fail "other lines changed: $(cat "$file")"
[ "$(sed -n 2,3p "$file")" = "$(printf 'programs: maze --root \\n\\\n\t\t\t\tquorbel --root \\n')" ] ||
    fail "list not extended: $(cat "$file")"

# A linked file is changed where it lies; the link stays.
mkdir -p "$work/dotfiles"
printf 'programs: maze --root\n' >"$work/dotfiles/xscreensaver"
rm "$file"
ln -s "$work/dotfiles/xscreensaver" "$file"
"$QUORBEL_ENABLE" >/dev/null || fail "run on a linked file failed"
[ -L "$file" ] || fail "the link was replaced by a file"
grep -q 'quorbel --root' "$work/dotfiles/xscreensaver" || fail "the linked file was not changed"

# Neither a file nor XScreenSaver's defaults: a message, exit 1, no file.
rm "$file"
QUORBEL_XSCREENSAVER_DEFAULTS=$work/missing "$QUORBEL_ENABLE" 2>"$work/err" && fail "succeeded without defaults"
grep -q "is XScreenSaver installed" "$work/err" || fail "message: $(cat "$work/err")"
[ ! -e "$file" ] || fail "made a file without a list"
"$QUORBEL_ENABLE" extra 2>/dev/null
[ $? = 2 ] || fail "an argument is not refused with 2"

# --only then --remove on a file laid out as XScreenSaver writes it: quorbel
# shown alone (its number counts every entry, on or off), then the file as
# it was, also once the settings program has rewritten it without comments.
printf '%s\n' 'mode:		random' 'selected:	1' 'programs:				      \' \
    '				maze --root				    \n\' '-				pyro --root				    \n\' \
    '				qix --root				    \n' 'lock:		False' >"$file"
cp "$file" "$work/original"
selection() { grep -E '^(mode|selected):' "$file" | tr -d '\r' | tr -s '\t' ' ' | tr '\n' ' '; }
"$QUORBEL_ENABLE" --only >/dev/null || fail "--only failed"
[ "$(selection)" = "mode: one selected: 3 " ] || fail "--only did not select quorbel: $(cat "$file")"
"$QUORBEL_ENABLE" --only | grep -q already || fail "a second --only found something to do"
"$QUORBEL_ENABLE" --remove >/dev/null || fail "--remove failed"
diff "$work/original" "$file" || fail "--remove did not give the file back"
[ ! -e "$HOME/.local/state/quorbel" ] || fail "--remove left its note of the selection"
"$QUORBEL_ENABLE" --remove | grep -q "not among" || fail "a second --remove found something to do"
# Without the note (another user's tools, a lost state folder), or with one
# that says nothing: random mode.
record=$HOME/.local/state/quorbel/xscreensaver-changes
for lose in 'rm -r "$HOME/.local/state/quorbel"' ': >"$record"'; do
    "$QUORBEL_ENABLE" --only >/dev/null && eval "$lose"
    "$QUORBEL_ENABLE" --remove >/dev/null || fail "--remove after $lose failed"
    [ "$(selection)" = "mode: random selected: -1 " ] || fail "--remove after $lose left quorbel selected: $(cat "$file")"
done

# The home folder as ls shows it and what its files hold; with "inodes",
# also which file each name is, so that a rewrite shows.
snapshot() {
    local format='%p %y %m %l'
    [ -z "${1:-}" ] || format+=' %i'
    (cd "$HOME" && find . -printf "$format\n" | sort && find . -type f -exec md5sum {} + | sort)
}
fresh_home() { rm -rf "$HOME" && mkdir "$HOME"; }

# --only then --remove leave the home folder as it was: each case is a name,
# the file (none when empty) and quorbel's place in the list after --only.
round_trips=(
    "no file" "" 2
    "CRLF line ends" $'mode:\t\trandom\r\nprograms: \\\r\n  maze --root \\n\\\r\n  qix --root \\n\r\nlock: False\r\n' 2
    "the list continuing at the end of the file" $'programs: \\\n  maze --root \\n\\\n  qix --root \\n\\\n' 2
    "the user's own quorbel entry, off" $'mode:\t\trandom\nprograms: \\\n  maze --root \\n\\\n- quorbel --root --speed 7 \\n\\\n  qix --root \\n\n' 1
    "quorbel before the hack shown" $'mode:\t\tone\nselected:\t2\nprograms: \\\n  maze --root \\n\\\n  quorbel --root \\n\\\n  qix --root \\n\\\n  pyro --root \\n\n' 1
    "two lists: XScreenSaver reads the last" $'programs: maze --root \\n\nmode: random\nprograms: \\\n  qix --root \\n\\\n  pyro --root \\n\n' 2
    "no list: the defaults' one added, then taken away" $'timeout: 0:01:00\nlock: False\n' 2
    "no list, no final newline" $'lock: False' 2
    "the user's own entry off, its dash after blanks" $'programs: \\\n  maze --root \\n\\\n\t\t-\tquorbel --root \\n\n' 1
    "a hand-written last entry: no \\n, blanks after it" $'programs:  maze --root  \n' 1
    "an empty list" $'programs:\n' 0
    "no final newline" $'mode: random\nprograms: \\\n  maze --root \\n' 1
)
for ((i = 0; i < ${#round_trips[@]}; i += 3)); do
    name=${round_trips[i]} text=${round_trips[i + 1]} place=${round_trips[i + 2]}
    fresh_home
    [ -z "$text" ] || printf '%s' "$text" >"$file"
    before=$(snapshot)
    "$QUORBEL_ENABLE" --only >/dev/null || fail "$name: --only failed"
    [ "$(selection)" = "mode: one selected: $place " ] || fail "$name: --only did not select quorbel: $(cat -A "$file")"
    awk '/^mode:/ { exit previous ~ /\\\r?$/ } { previous = $0 }' "$file" ||
        fail "$name: mode: continues the line before it: $(cat -A "$file")"
    [[ $text != *$'\r'* ]] || ! grep -qv $'\r$' "$file" || fail "$name: line ends changed: $(cat -A "$file")"
    "$QUORBEL_ENABLE" --remove >/dev/null || fail "$name: --remove failed"
    [ "$(snapshot)" = "$before" ] || fail "$name: the home folder changed: $(diff <(echo "$before") <(snapshot))"
done

# A file it made that the user has changed since stays, without quorbel.
fresh_home
"$QUORBEL_ENABLE" >/dev/null && echo 'lock: True' >>"$file"
"$QUORBEL_ENABLE" --remove >/dev/null || fail "--remove of a made file failed"
grep -q '^lock: True' "$file" && ! grep -q 'quorbel --root' "$file" || fail "the user's edit or quorbel: $(cat "$file")"

# The hack shown before --only comes back by what it is, also when the list
# has changed since (here a hack put at its top, quorbel still shown).
fresh_home
printf '%s\n' 'mode: one' 'selected: 1' 'programs: \' '  maze --root \n\' '  qix --root \n\' '  pyro --root \n' >"$file"
"$QUORBEL_ENABLE" --only >/dev/null || fail "--only failed"
sed -i 's/^programs: \\$/&\n  bubbles --root \\n\\/; s/^selected:.*/selected:\t4/' "$file"
"$QUORBEL_ENABLE" --remove >/dev/null || fail "--remove failed"
[ "$(selection)" = "mode: one selected: 2 " ] || fail "qix is not shown again: $(cat "$file")"

# Files it leaves alone, with one line and exit 1: a name, how the file is
# made, the option and what the line says.
refusals=(
    "a dangling link" 'ln -s "$work/nowhere" "$file"' --only "link"
    "a looping link" 'ln -s "$file" "$file"' "" "link"
    "a read-only file" 'printf "programs: maze --root\n" >"$file"; chmod 444 "$file"' --only "read-only"
    "a read-only file, --remove" 'printf "programs: quorbel --root\n" >"$file"; chmod 444 "$file"' --remove "read-only"
    "a folder" 'mkdir "$file"' "" "not a regular file"
    "a folder, --remove" 'mkdir "$file"' --remove "not a regular file"
    "mixed line ends" 'printf "mode: random\r\nprograms: maze --root\n" >"$file"' --only "line ends"
    "a record linked to /dev/zero" 'mkdir -p "${record%/*}"; ln -s /dev/zero "$record"' --remove "not a regular file"
    "a record that is a FIFO" 'mkdir -p "${record%/*}"; mkfifo "$record"' "" "not a regular file"
    "a folder for a record" 'printf "programs: quorbel --root\n" >"$file"; mkdir -p "$record"' --remove "not a regular file"
    "a record too large" 'mkdir -p "${record%/*}"; truncate -s 20M "$record"' --remove "too large"
    "a state folder that cannot be made" 'printf "" >"$HOME/.local"' "" "Not a directory"
)
# A run that went wrong must not take the machine's memory with it (the
# sanitizers need theirs).
ldd "$QUORBEL_ENABLE" | grep -q libasan || ulimit -v 4000000
for ((i = 0; i < ${#refusals[@]}; i += 4)); do
    name=${refusals[i]}
    fresh_home
    eval "${refusals[i + 1]}"
    before=$(snapshot inodes)
    timeout 60 "$QUORBEL_ENABLE" ${refusals[i + 2]} >"$work/out" 2>"$work/err"
    code=$?
    [ $code = 1 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q "${refusals[i + 3]}" "$work/err" ||
        fail "$name: exit $code, said $(cat "$work/out" "$work/err")"
    [ "$(snapshot inodes)" = "$before" ] || fail "$name: the home folder changed: $(diff <(echo "$before") <(snapshot inodes))"
done

# A relative HOME is refused: the record names folders by their full path.
fresh_home
(cd "$work" && HOME=home "$QUORBEL_ENABLE" >"$work/out" 2>"$work/err")
[ $? = 1 ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q "full path" "$work/err" && [ ! -e "$file" ] ||
    fail "a relative HOME: $(cat "$work/out" "$work/err")"

# Run by root on a user's home (sudo -E): what it writes or makes stays the
# user's, with the file's mode.
if [ "$(id -u)" = 0 ]; then
    for text in "" $'programs: maze --root\n'; do
        fresh_home
        [ -z "$text" ] || printf '%s' "$text" >"$file"
        chown -R 4242:4343 "$HOME"
        "$QUORBEL_ENABLE" --only >/dev/null || fail "--only as root failed"
        [ -z "$(find "$HOME" ! -user 4242 -o ! -group 4343)" ] ||
            fail "root took: $(find "$HOME" ! -user 4242 -o ! -group 4343)"
    done
fi

# A run that must wait for another says so, and goes on once it may.
fresh_home
flock "$HOME" bash -c 'touch "$0/held"; until [ -e "$0/go" ]; do sleep 0.1; done' "$work" &
holder=$!
wait_until 30 test -e "$work/held" || fail "the lock was not taken"
"$QUORBEL_ENABLE" >/dev/null 2>"$work/err" &
waiter=$!
wait_until 30 grep -q "waiting" "$work/err" || fail "a run held back says nothing: $(cat "$work/err")"
touch "$work/go"
wait "$holder" && wait "$waiter" || fail "the run that waited failed: $(cat "$work/err")"
grep -q 'quorbel --root' "$file" || fail "the run that waited did nothing"

# Runs at once take turns: none fails, no edit is lost (one adds quorbel,
# another makes it the one shown), and --remove then gives the file back.
# Counted over many rounds.
failed=0 lost=0 kept=0
for round in $(seq 100); do
    fresh_home
    printf '%s\n' 'mode: random' 'programs: \' '  maze --root \n\' '  qix --root \n' >"$file"
    cp "$file" "$work/original"
    pids=()
    for option in "" --only "" --only; do
        "$QUORBEL_ENABLE" $option >/dev/null 2>>"$work/race" &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do
        wait "$pid" || failed=$((failed + 1))
    done
    [ "$(selection)" = "mode: one selected: 2 " ] && [ "$(grep -c quorbel "$file")" = 1 ] || lost=$((lost + 1))
    "$QUORBEL_ENABLE" --remove >/dev/null 2>>"$work/race" || failed=$((failed + 1))
    cmp -s "$work/original" "$file" || kept=$((kept + 1))
done
[ "$failed $lost $kept" = "0 0 0" ] ||
    fail "of 100 rounds: $failed runs failed, $lost rounds lost an edit, $kept not given back: $(sort -u "$work/race")"

for word in --help -h; do
    "$QUORBEL_ENABLE" $word | grep -q -- "--remove" || fail "$word does not explain --remove"
done
"$QUORBEL_ENABLE" --version | grep -qx "quorbel-enable [0-9]*\.[0-9]*\.[0-9]*" ||
    fail "--version: $("$QUORBEL_ENABLE" --version)"
