#!/bin/bash
# build.sh <win32-build> <win64-build> <output-dir> [makensis options...]
#
# Makes Quorbel-Setup-<version>.exe with NSIS from the two finished Windows
# builds; the version is the project's, as CMake has it: in numbers for the
# installer's version resource, and as the About box shows it everywhere else.
# Beside it LICENSE.txt, the licence with Windows line ends, which the
# installer holds. Further options go to makensis (the tests' builds).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win32=$(realpath "$1")
win64=$(realpath "$2")
out=$(realpath -m "$3")
shift 3

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win64/CMakeCache.txt")
version_text=$(sed -n 's/^QUORBEL_VERSION_TEXT:[A-Z]*=//p' "$win64/CMakeCache.txt")
[ -n "$version" ] && [ -n "$version_text" ] ||
    { echo "build.sh: no project version in $win64/CMakeCache.txt" >&2; exit 1; }
for build in "$win32" "$win64"; do
    [ -f "$build/host/Quorbel.scr" ] || { echo "build.sh: no $build/host/Quorbel.scr" >&2; exit 1; }
done

mkdir -p "$out"
setup="$out/Quorbel-Setup-$version_text.exe"
# Notepad before Windows 10 shows a file with bare line feeds as one line.
sed 's/$/\r/' "$root/LICENSE" >"$out/LICENSE.txt"
kb() { echo $((($(stat -c %s "$1") + 1023) / 1024)); }  # as NSIS counts a file
makensis -V2 -WX -INPUTCHARSET UTF8 \
    -DVERSION="$version" \
    -DVERSION_TEXT="$version_text" \
    -DSCR32="$win32/host/Quorbel.scr" \
    -DSCR64="$win64/host/Quorbel.scr" \
    -DSCR32_KB="$(kb "$win32/host/Quorbel.scr")" \
    -DSCR64_KB="$(kb "$win64/host/Quorbel.scr")" \
    -DHELP_PAGE="$root/resources/help/Quorbel.html" \
    -DLICENCE="$out/LICENSE.txt" \
    -DICON="$root/resources/quorbel.ico" \
    -DOUTFILE="$setup" \
    "$@" \
    "$here/quorbel.nsi"
echo "$setup"
