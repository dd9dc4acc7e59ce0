#!/bin/bash
# deb_package_test.sh <deb> <version>: the package's name, version, files and
# dependencies, and an install and a purge with dpkg in a throwaway root that
# leave nothing of it behind. Skipped (77) when not run as root, as dpkg needs.
set -uo pipefail

deb=$1
version=$2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ "$(basename "$deb")" = "quorbel_${version}_$(dpkg --print-architecture).deb" ] ||
    fail "file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quorbel ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
for dependency in xscreensaver libx11-6 libstdc++6 libc6; do
    field Depends | tr ',' '\n' | grep -q "^ *$dependency\b" || fail "Depends lacks $dependency: $(field Depends)"
done

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $NF}' | sort)
expected=$(printf '%s\n' ./usr/bin/quorbel-enable ./usr/libexec/xscreensaver/quorbel \
    ./usr/share/xscreensaver/config/quorbel.xml | sort)
[ "$files" = "$expected" ] || fail "files in the package:
$files"

[ "$(id -u)" = 0 ] || exit 77
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
in_root() { dpkg --root="$root" --log=/dev/null --force-depends "$@" >"$root.log" 2>&1 || fail "dpkg $*: $(cat "$root.log")"; }
before=$(cd "$root" && find . | sort)

in_root -i "$deb"
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' quorbel)" = "install ok installed" ] ||
    fail "not installed"
for file in $expected; do
    [ -f "$root/$file" ] || fail "$file not installed"
done
"$root/usr/libexec/xscreensaver/quorbel" --help | grep -q -- --window-id || fail "the installed quorbel does not run"

in_root --purge quorbel
after=$(cd "$root" && find . -not -path './var/lib/dpkg/*' | sort)
[ "$after" = "$(echo "$before" | grep -v '^./var/lib/dpkg/')" ] || fail "left behind after the purge:
$(diff <(echo "$before") <(echo "$after"))"
rm -f "$root.log"
