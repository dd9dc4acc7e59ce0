#!/bin/bash
# installer_test.sh <Quorbel-Setup.exe> <version> <stand-in setup> <stand-in SID>
#
# The installer on the Wine prefix of this session (tools/ci/wine_session.sh
# provides it and the display), 64- or 32-bit as the prefix is. The stand-in
# setup is the same installer built with DESKTOP_USER_STAND_IN=<stand-in SID>:
# its lookup of the desktop's user answers another account.
# - a copy that cannot replace the saver stops it with nothing installed;
# - the lookup of the session's user finds the user whose hive HKCU is, the
#   installer's own account;
# - a silent install puts the saver of the prefix's bitness into the real
#   system folder, the help page and the licence beside the uninstaller and
#   the help page in the Start menu, and writes the uninstall entry and
#   SCRNSAVE.EXE;
# - the installed saver starts full screen and ends on a key;
# - installing over that install works and keeps the user's settings;
# - a silent uninstall leaves nothing of ours but the user's settings, and
#   resets SCRNSAVE.EXE only while it names our saver: to the saver it
#   replaced while that one's file is there, else to nothing;
# - the uninstall takes SCRNSAVE.EXE and the replaced saver as Windows does,
#   quoted or not, with arguments, in any case, with environment strings
#   (64-bit prefix);
# - with another account at the desktop, the per-user keys go to its hive,
#   the installer's own are untouched, and the finish page does not offer
#   to open the settings, which the installer's account would get (32-bit
#   prefix);
# - an install over a running saver, and an uninstall while it runs, move
#   it aside for removal at the restart (64-bit prefix; Wine records it in
#   PendingFileRenameOperations);
# - the installer speaks Japanese or English after the user's language
#   (64-bit prefix); an uninstall where the user agrees removes the
#   settings (32-bit prefix).
set -u

here=$(cd "$(dirname "$0")" && pwd)
setup=$(realpath "$1")
version=$2
stand_in_setup=$(realpath "$3")
stand_in_sid=$4
failures=0

drive_c="$WINEPREFIX/drive_c"
system="$drive_c/windows/system32"
programs="$drive_c/Program Files/Quorbel"
# `wine reg` is the 32-bit program; the 64-bit saver's entry is in the
# 64-bit view. The 32-bit loader would see syswow64 as the system folder, so
# the installed 64-bit saver is started with the 64-bit one.
if [ -d "$drive_c/windows/syswow64" ]; then
    bits=64 machine=8664 view=/reg:64 loader=/usr/lib/wine/wine64
    [ -x "$loader" ] || loader=wine64
else
    bits=32 machine=014c view="" loader=wine
fi
saver="$system/Quorbel.scr"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorbel'
desktop_key='HKCU\Control Panel\Desktop'
settings_key='HKCU\Software\Pelmar\Quorbel\Settings'
session_key='HKLM\System\CurrentControlSet\Control\Session Manager'
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorbel (Tovtov Life Display)"
product='Quorbel (Tovtov Life Display)'
product_pattern='Quorbel \(Tovtov Life Display\)'  # for window titles
echo "== installer on a $bits-bit prefix"

fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
expect_eq() {  # expect_eq <what> <expected> <got>
    [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

# One value's data from `reg query`, or nothing when it is absent.
reg_value() {  # reg_value <key> <name>
    wine reg query "$1" /v "$2" $view 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+REG_[A-Z_]+[ \t]+/, ""); print; exit }'
}
reg_key_exists() { wine reg query "$1" $view >/dev/null 2>&1; }

pe_machine() {  # the COFF header's machine field, as 4 hex digits
    local at
    at=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    od -An -t x2 -j $((at + 4)) -N 2 "$1" | tr -d ' '
}

# The first X window whose title matches, waited for up to 30 s.
wait_for_window() {  # wait_for_window <title regex>
    local found
    for _ in $(seq 1 150); do
        found=$(xdotool search --name "$1" 2>/dev/null | head -n1)
        [ -n "$found" ] && break
        sleep 0.2
    done
    echo "$found"
}

run_setup() {  # run_setup <args...>: the installer's exit code
    wine "$setup" "$@" >/dev/null 2>&1
    echo $?
}

# In place (_?=, which takes no quotes), so that its exit code is the result;
# it leaves itself and its folder then.
uninstall_in_place() {
    wine "$programs/Uninstall.exe" /S '_?=C:\PROGRA~1\Quorbel' >/dev/null 2>&1
    local code=$?
    rm -rf "$programs"
    return $code
}

# The visible controls of the installer's window, as window_controls.exe
# prints them ("<class><tab><text>"), once one of them is the given line (up
# to 30 s). A page's own controls show only when it is complete; the
# buttons below it change before.
controls_with() {  # controls_with <title> <line>
    local controls=""
    for _ in $(seq 1 150); do
        controls=$(wine "$probe" "$1" 2>/dev/null | tr -d '\r')
        grep -qxF "$2" <<<"$controls" && break
        sleep 0.2
    done
    echo "$controls"
}

# The visible controls of the installer's finish page, reached through the
# welcome and components pages; the install is done by then.
finish_page_controls() {  # finish_page_controls <setup>
    local title="$product $version Setup" started
    LC_ALL=C.UTF-8 wine "$1" >/dev/null 2>&1 &
    started=$!
    controls_with "$title" "Static	Welcome to $title" >/dev/null
    xdotool key Return
    controls_with "$title" "Static	Select components to install:" >/dev/null
    xdotool key Return
    controls_with "$title" "Static	Completing $title"
    kill "$started" 2>/dev/null
    wait "$started" 2>/dev/null
}

# The uninstaller hands itself to a copy in the temporary folder and returns
# at once; wait for the copy to finish its work.
wait_for_uninstall() {
    for _ in $(seq 1 300); do
        if ! reg_key_exists "$uninstall_key" && [ ! -e "$saver" ] && [ ! -e "$programs" ]; then
            return 0
        fi
        sleep 0.2
    done
    return 1
}

clean_prefix() {  # leftovers of an interrupted earlier run
    if [ -f "$programs/Uninstall.exe" ]; then
        wine "$programs/Uninstall.exe" /S >/dev/null 2>&1
        wait_for_uninstall
    fi
    rm -rf "$saver" "$saver.new" "$programs"
    wine reg delete "$uninstall_key" /f $view >/dev/null 2>&1
    wine reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
}

kb() { echo $((($(stat -c %s "$1") + 1023) / 1024)); }

clean_prefix
probe_dir=$(mktemp -d)
probe="$probe_dir/window_controls.exe"
i686-w64-mingw32-gcc -municode -Os -o "$probe" "$here/window_controls.c" || fail "window_controls.c does not build"
echo "-- the session's user: its SID's key under HKEY_USERS is HKCU"
lookup_dir=$(mktemp -d)
makensis -V1 -INPUTCHARSET UTF8 -X"!addincludedir $here/../../packaging/windows" \
    -DOUTFILE="$lookup_dir/lookup.exe" "$here/desktop_user_test.nsi" >/dev/null
wine "$lookup_dir/lookup.exe" >/dev/null 2>&1
expect_eq "exit code of the lookup" 0 "$?"
sid=$(reg_value 'HKCU\Software\QuorbelDesktopUserTest' Sid)
[[ "$sid" == S-1-5-21-* ]] || fail "the SID written under HKEY_USERS is not HKCU's: '$sid'"
expect_eq "the installer's account" "$sid" "$(reg_value 'HKCU\Software\QuorbelDesktopUserTest' InstallerSid)"
wine reg delete 'HKCU\Software\QuorbelDesktopUserTest' /f >/dev/null 2>&1
rm -rf "$lookup_dir"
# The user's own settings, which every step must keep.
wine reg add "$settings_key" /v Speed /t REG_DWORD /d 7 /f >/dev/null 2>&1
wine reg add "$settings_key" /v FixedSpeed /t REG_DWORD /d 1 /f >/dev/null 2>&1

echo "-- a saver that cannot be replaced: nothing is installed"
mkdir -p "$saver"  # a folder where the saver should go
code=$(run_setup /S)
expect_eq "exit code of a failed install" 2 "$code"
if [ ! -d "$saver" ] || [ -n "$(ls -A "$saver")" ]; then
    fail "the folder in the saver's place was changed"
fi
[ ! -e "$saver.new" ] || fail "the new copy was left behind"
[ ! -e "$programs" ] || fail "the uninstaller's folder was left behind"
! reg_key_exists "$uninstall_key" || fail "an uninstall entry was written"
expect_eq "SCRNSAVE.EXE after a failed install" "" "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
rmdir "$saver"

echo "-- silent install"
# The saver in use before, which the uninstall puts back.
previous='C:\windows\system32\previous.scr'
touch "$system/previous.scr"
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$previous" /f >/dev/null 2>&1
code=$(run_setup /S)
expect_eq "exit code of the install" 0 "$code"
if [ -f "$saver" ]; then
    expect_eq "machine of the installed saver" "$machine" "$(pe_machine "$saver")"
else
    fail "no $saver"
fi
[ ! -e "$drive_c/windows/syswow64/Quorbel.scr" ] || fail "a saver landed in syswow64"
[ -f "$programs/Uninstall.exe" ] || fail "no uninstaller in $programs"
expect_eq "DisplayName" "$product" "$(reg_value "$uninstall_key" DisplayName)"
expect_eq "DisplayVersion" "$version" "$(reg_value "$uninstall_key" DisplayVersion)"
expect_eq "Publisher" "Pelmar" "$(reg_value "$uninstall_key" Publisher)"
expect_eq "DisplayIcon" 'C:\windows\system32\Quorbel.scr,0' "$(reg_value "$uninstall_key" DisplayIcon)"
expect_eq "UninstallString" '"C:\Program Files\Quorbel\Uninstall.exe"' "$(reg_value "$uninstall_key" UninstallString)"
expect_eq "QuietUninstallString" '"C:\Program Files\Quorbel\Uninstall.exe" /S' \
    "$(reg_value "$uninstall_key" QuietUninstallString)"
[ -f "$programs/Quorbel.html" ] || fail "no help page in $programs"
cmp -s "$programs/LICENSE.txt" <(sed 's/$/\r/' "$here/../../LICENSE") || fail "no licence in $programs"
[ -f "$start_menu/Quorbel help.lnk" ] || fail "no help page in the Start menu"
expect_eq "HelpPage" 'C:\Program Files\Quorbel\Quorbel.html' \
    "$(reg_value 'HKLM\Software\Pelmar\Quorbel' HelpPage)"
expect_eq "EstimatedSize" \
    $(($(kb "$saver") + $(kb "$programs/Quorbel.html") + $(kb "$programs/LICENSE.txt") + $(kb "$programs/Uninstall.exe"))) \
    $(($(reg_value "$uninstall_key" EstimatedSize)))
expect_eq "SCRNSAVE.EXE" 'C:\windows\system32\Quorbel.scr' "$(reg_value "$desktop_key" SCRNSAVE.EXE)"

echo "-- the installed saver: full screen, ended by a key"
"$loader" 'C:\windows\system32\Quorbel.scr' /s >/dev/null 2>&1 &
running=$!
window=$(wait_for_window '^Screen Saver$')
if [ -z "$window" ]; then
    fail "no full-screen saver window"
else
    eval "$(xdotool getwindowgeometry --shell "$window")"
    screen=$(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    expect_eq "saver window size" "$screen" "${WIDTH}x${HEIGHT}"
    # What the user sees: a black screen with sprites on it.
    lit=0
    for _ in $(seq 1 20); do
        sleep 0.3
        lit=$(import -window root png:- 2>/dev/null |
            convert png:- -colorspace gray -threshold 2% -format '%[fx:int(mean*10000)]' info: 2>/dev/null)
        [ "${lit:-0}" -gt 0 ] && break
    done
    [ "${lit:-0}" -gt 0 ] || fail "nothing drawn on the screen"
    [ "${lit:-0}" -lt 5000 ] || fail "the screen is not mostly black ($lit of 10000 lit)"
    xdotool key q
fi
for _ in $(seq 1 100); do
    kill -0 "$running" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$running" 2>/dev/null; then
    fail "the saver did not end on a key"
    kill "$running" 2>/dev/null
fi
wait "$running"
expect_eq "exit code of the saver" 0 "$?"

echo "-- installing over the install"
code=$(run_setup /S)
expect_eq "exit code of the second install" 0 "$code"
expect_eq "machine after the second install" "$machine" "$(pe_machine "$saver")"
expect_eq "DisplayVersion after the second install" "$version" "$(reg_value "$uninstall_key" DisplayVersion)"
expect_eq "Speed kept" 0x7 "$(reg_value "$settings_key" Speed)"

echo "-- silent uninstall"
if [ "$bits" = 32 ]; then
    # Another saver chosen since: the uninstaller must leave it.
    expected_saver='C:\windows\system32\other.scr'
    wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$expected_saver" /f >/dev/null 2>&1
else
    expected_saver=$previous
fi
wine "$programs/Uninstall.exe" /S >/dev/null 2>&1
wait_for_uninstall || fail "the uninstaller left files or its key"
[ ! -e "$saver" ] || fail "$saver is still there"
[ ! -e "$programs" ] || fail "$programs is still there"
! reg_key_exists "$uninstall_key" || fail "the uninstall entry is still there"
[ ! -e "$start_menu" ] || fail "the Start menu folder is still there"
! reg_key_exists 'HKLM\Software\Pelmar' || fail "HKLM\Software\Pelmar is still there"
[ -z "$(reg_value 'HKCU\Software\Pelmar\Quorbel' ReplacedScreenSaver)" ] || fail "the replaced saver's record is left"
expect_eq "SCRNSAVE.EXE after the uninstall" "$expected_saver" "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
expect_eq "Speed kept by a silent uninstall" 0x7 "$(reg_value "$settings_key" Speed)"

if [ "$bits" = 64 ]; then
    echo "-- SCRNSAVE.EXE as Windows reads it: ours recognised, the replaced saver put back as written"
    mkdir -p "$drive_c/Program Files/Other Savers"
    touch "$system/ssother.scr" "$drive_c/Program Files/Other Savers/ssother.scr"
    short_name() {  # short_name <folder> <name>: the 8.3 name Wine gives it
        wine cmd /c dir /x "$1" 2>/dev/null | tr -d '\r' | sed -n "s/.* \([^ ]*~[^ ]*\) *$2\$/\1/p"
    }
    short_other="C:\\$(short_name 'C:\' 'Program Files')\\$(short_name 'C:\Program Files' 'Other Savers')\\ssother.scr"
    [[ "$short_other" == 'C:\'*~*'\'*~*'\ssother.scr' ]] || fail "no 8.3 path of Other Savers: $short_other"
    # <SCRNSAVE.EXE before the install>|<recorded as replaced>|<SCRNSAVE.EXE
    # before the uninstall>|<after it>, "=" for the first column. The one
    # with "./" names ours only through the file, which the uninstall
    # deletes: it is recognised only before that. @short@ is the 8.3 path of
    # the saver in "Other Savers", in lower case.
    while IFS='|' read -r before recorded current after; do
        before=${before//@short@/${short_other,,}}
        [ "$recorded" = "=" ] && recorded=$before
        [ "$after" = "=" ] && after=$before
        wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$before" /f >/dev/null 2>&1
        code=$(run_setup /S)
        expect_eq "install over '$before'" 0 "$code"
        expect_eq "replaced saver recorded for '$before'" "$recorded" \
            "$(reg_value 'HKCU\Software\Pelmar\Quorbel' ReplacedScreenSaver)"
        wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$current" /f >/dev/null 2>&1
        uninstall_in_place
        expect_eq "SCRNSAVE.EXE after uninstalling with '$current'" "$after" "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
        if [[ "$after" == *%* ]]; then
            expect_eq "type of '$after'" REG_EXPAND_SZ "$(wine reg query "$desktop_key" /v SCRNSAVE.EXE 2>/dev/null |
                tr -d '\r' | awk '$1 == "SCRNSAVE.EXE" { print $2 }')"
        fi
    done <<'ROWS'
"C:\windows\system32\ssother.scr"|=|C:\windows\system32\Quorbel.scr|=
C:\windows\system32\ssother.scr /s|=|C:\WINDOWS\SYSTEM32\QUORBEL.SCR|=
%SystemRoot%\System32\ssother.scr|=|"C:\windows\system32\Quorbel.scr" /s|=
C:\Program Files\Other Savers\ssother.scr /s|=|%SystemRoot%\system32\quorbel.scr|=
@short@ /s|=|C:\windows\system32\Quorbel.scr|=
"%windir%\system32\SSOTHER.SCR" /s|=|  C:/windows/system32/./Quorbel.scr|=
C:\windows\system32\ssother.scr|=|"C:\windows\system32\ssother.scr" /s|"C:\windows\system32\ssother.scr" /s
C:\windows\system32\ssother.scr|=|C:\windows\system32\Quorbel|C:\windows\system32\Quorbel
"c:\windows\system32\quorbel.scr" /s||C:\windows\system32\Quorbel.scr|
ROWS
    rm -rf "$system/ssother.scr" "$drive_c/Program Files/Other Savers"

    echo "-- install and uninstall while the saver runs: moved aside, removed at the restart"
    code=$(run_setup /S)
    expect_eq "exit code of the install" 0 "$code"
    for step in install uninstall; do
        "$loader" 'C:\windows\system32\Quorbel.scr' /s >/dev/null 2>&1 &
        running=$!
        [ -n "$(wait_for_window '^Screen Saver$')" ] || fail "no full-screen saver window"
        if [ "$step" = install ]; then
            code=$(run_setup /S)
        else
            uninstall_in_place
            code=$?
        fi
        # 3010, done but a restart needed, as Unix's 8 bits keep it.
        expect_eq "exit code of the $step (restart needed)" $((3010 & 255)) "$code"
        pending=$(wine reg query "$session_key" /v PendingFileRenameOperations $view 2>/dev/null | tr -d '\r')
        moved=$(printf '%s\n' "$pending" | grep -o -i 'system32\\[^\\]*\.tmp')
        [ -n "$moved" ] && [ -f "$drive_c/windows/$(tr '\\' / <<<"$moved")" ] ||
            fail "$step: no removal of the moved saver is pending: $pending"
        if [ "$step" = install ]; then
            expect_eq "machine of the saver that replaced the running one" "$machine" "$(pe_machine "$saver")"
            reg_key_exists "$uninstall_key" || fail "no uninstall entry after the install"
        else
            [ ! -e "$saver" ] || fail "the saver in use kept its name"
            ! reg_key_exists "$uninstall_key" || fail "the uninstall entry is still there"
        fi
        xdotool key q
        wait "$running"
        # What the restart would do.
        for file in $moved; do
            rm -f "$drive_c/windows/$(tr '\\' / <<<"$file")"
        done
        wine reg delete "$session_key" /v PendingFileRenameOperations /f $view >/dev/null 2>&1
    done

    echo "-- an install over the saver in use says so on its finish page"
    code=$(run_setup /S)
    expect_eq "exit code of the install" 0 "$code"
    # Its settings dialog holds the file as the preview does, and takes no keys.
    LC_ALL=C.UTF-8 "$loader" 'C:\windows\system32\Quorbel.scr' /c >/dev/null 2>&1 &
    running=$!
    [ -n "$(wait_for_window '^Tovtov Life Game Settings$')" ] || fail "no settings dialog"
    grep -q '^Static	Quorbel has been installed. The earlier Quorbel was in use' <<<"$(finish_page_controls "$setup")" ||
        fail "the finish page does not say that the earlier saver goes at the restart"
    kill "$running"
    wait "$running" 2>/dev/null
    pending=$(wine reg query "$session_key" /v PendingFileRenameOperations $view 2>/dev/null | tr -d '\r')
    for file in $(printf '%s\n' "$pending" | grep -o -i 'system32\\[^\\]*\.tmp'); do
        rm -f "$drive_c/windows/$(tr '\\' / <<<"$file")"
    done
    wine reg delete "$session_key" /v PendingFileRenameOperations /f $view >/dev/null 2>&1
    uninstall_in_place

    echo "-- the installer's language follows the user's"
    for run in "ja_JP.UTF-8 $product_pattern $version セットアップ" "C.UTF-8 $product_pattern $version Setup"; do
        locale=${run%% *} title=${run#* }
        LC_ALL=$locale wine "$setup" >/dev/null 2>&1 &
        started=$!
        [ -n "$(wait_for_window "^$title\$")" ] || fail "no window '$title' under $locale"
        kill "$started" 2>/dev/null
        wait "$started" 2>/dev/null
    done
else
    echo "-- another account at the desktop: its keys, and no settings offered"
    user_desktop="HKU\\$stand_in_sid\\Control Panel\\Desktop"
    user_settings="HKU\\$stand_in_sid\\Software\\Pelmar\\Quorbel"
    mine='C:\windows\system32\mine.scr'  # the installer's own account's choice
    wine reg add "$user_desktop" /v SCRNSAVE.EXE /t REG_SZ /d "$previous" /f >/dev/null 2>&1
    wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$mine" /f >/dev/null 2>&1
    wine "$stand_in_setup" /S >/dev/null 2>&1
    expect_eq "exit code of the install" 0 "$?"
    expect_eq "the desktop user's SCRNSAVE.EXE" 'C:\windows\system32\Quorbel.scr' "$(reg_value "$user_desktop" SCRNSAVE.EXE)"
    expect_eq "the desktop user's replaced saver" "$previous" "$(reg_value "$user_settings" ReplacedScreenSaver)"
    expect_eq "the installer's own SCRNSAVE.EXE" "$mine" "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
    [ -z "$(reg_value 'HKCU\Software\Pelmar\Quorbel' ReplacedScreenSaver)" ] ||
        fail "the installer's own account got a replaced saver"
    controls=$(finish_page_controls "$stand_in_setup")
    grep -q $'^Static\tCompleting ' <<<"$controls" || fail "no finish page: $controls"
    ! grep -q 'Open the screen saver settings' <<<"$controls" ||
        fail "the finish page offers to open the settings as the installer's account"
    uninstall_in_place
    expect_eq "the desktop user's SCRNSAVE.EXE after the uninstall" "$previous" "$(reg_value "$user_desktop" SCRNSAVE.EXE)"
    expect_eq "the installer's own SCRNSAVE.EXE after the uninstall" "$mine" "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
    wine reg delete "HKU\\$stand_in_sid" /f >/dev/null 2>&1
    # The desktop's user is the installer's account: offered.
    controls=$(finish_page_controls "$setup")
    grep -q $'^Button\tOpen the screen saver settings$' <<<"$controls" ||
        fail "the finish page does not offer to open the settings: $controls"
    uninstall_in_place

    echo "-- an uninstall where the user agrees removes the settings"
    # The replaced saver is gone by then: the uninstall clears SCRNSAVE.EXE.
    wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$previous" /f >/dev/null 2>&1
    rm -f "$system/previous.scr"
    code=$(run_setup /S)
    expect_eq "exit code of the install" 0 "$code"
    # The uninstaller hands over to its copy; the keys go to whichever window
    # is in front: the confirmation page, then the question, then Close.
    LC_ALL=ja_JP.UTF-8 wine "$programs/Uninstall.exe" >/dev/null 2>&1
    # (NSIS's Japanese caption ends in a blank.)
    title="$product_pattern $version アンインストール"
    [ -n "$(wait_for_window "^$title *\$")" ] || fail "no window '$title'"
    xdotool key Return
    for _ in $(seq 1 100); do
        reg_key_exists "$settings_key" || break
        xdotool key y
        sleep 0.3
    done
    ! reg_key_exists 'HKCU\Software\Pelmar' || fail "the settings are still there after a yes"
    for _ in $(seq 1 100); do
        [ -z "$(xdotool search --name "^$title *\$" 2>/dev/null)" ] && break
        xdotool key Return
        sleep 0.3
    done
    wait_for_uninstall || fail "the uninstaller left files or its key"
    expect_eq "SCRNSAVE.EXE when the replaced saver is gone" "" "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
fi

# Give the prefix back as it was.
rm -rf "$system/previous.scr" "$probe_dir"
wine reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
wine reg delete 'HKCU\Software\Pelmar\Quorbel' /f >/dev/null 2>&1

if [ "$failures" -ne 0 ]; then
    echo "== installer tests on the $bits-bit prefix: $failures failed"
    exit 1
fi
echo "== installer tests on the $bits-bit prefix passed"
