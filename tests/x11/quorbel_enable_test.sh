#!/bin/bash
# quorbel_enable_test.sh: quorbel-enable on real files, with a stand-in for
# XScreenSaver's app-defaults file. QUORBEL_ENABLE names the program.
set -uo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
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
selection() { grep -E '^(mode|selected):' "$file" | tr -s '\t' ' ' | tr '\n' ' '; }
"$QUORBEL_ENABLE" --only >/dev/null || fail "--only failed"
[ "$(selection)" = "mode: one selected: 3 " ] || fail "--only did not select quorbel: $(cat "$file")"
"$QUORBEL_ENABLE" --only | grep -q already || fail "a second --only found something to do"
"$QUORBEL_ENABLE" --remove >/dev/null || fail "--remove failed"
diff "$work/original" "$file" || fail "--remove did not give the file back"
[ ! -e "$HOME/.local/state/quorbel" ] || fail "--remove left its note of the selection"
"$QUORBEL_ENABLE" --remove | grep -q "not among" || fail "a second --remove found something to do"
# Without the note (another user's tools, a lost state folder): random mode.
"$QUORBEL_ENABLE" --only >/dev/null && rm -r "$HOME/.local/state/quorbel"
"$QUORBEL_ENABLE" --remove >/dev/null || fail "--remove without the note failed"
[ "$(selection)" = "mode: random selected: -1 " ] || fail "--remove left quorbel selected: $(cat "$file")"

for word in --help -h; do
    "$QUORBEL_ENABLE" $word | grep -q -- "--remove" || fail "$word does not explain --remove"
done
"$QUORBEL_ENABLE" --version | grep -qx "quorbel-enable [0-9]*\.[0-9]*\.[0-9]*" ||
    fail "--version: $("$QUORBEL_ENABLE" --version)"
