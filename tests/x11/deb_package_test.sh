#!/bin/bash
# deb_package_test.sh <deb> <version> <installer script>: the package's name,
# version, maintainer (the publisher the Windows installer names), files,
# dependencies and licence, and an install and a purge with dpkg in a
# throwaway root: the programs run by name, man finds their manual pages, each page lists every
# option the program's --help does, and the purge leaves nothing behind.
# Skipped (77) when not run as root, as dpkg needs.
set -uo pipefail

deb=$1
version=$2
installer=$3
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
publisher=$(sed -n 's/.*"Publisher" "\(.*\)"$/\1/p' "$installer")
[ -n "$publisher" ] || fail "no publisher in $installer"
case "$(field Maintainer)" in "$publisher <"*">") ;; *) fail "Maintainer: $(field Maintainer), not $publisher" ;; esac
for dependency in xscreensaver libx11-6 libstdc++6 libc6 libpng16-16 libgif7; do
    field Depends | tr ',' '\n' | grep -q "^ *$dependency\b" || fail "Depends lacks $dependency: $(field Depends)"
done

files=$(dpkg-deb -c "$deb" | awk '$1 ~ /^l/ {print $(NF - 2) " -> " $NF} $1 ~ /^-/ {print $NF}' | sort)
expected=$(printf '%s\n' ./usr/bin/quorbel-enable ./usr/bin/quorbel-render ./usr/libexec/xscreensaver/quorbel \
    "./usr/bin/quorbel -> ../libexec/xscreensaver/quorbel" ./usr/share/xscreensaver/config/quorbel.xml \
    ./usr/share/man/man6/quorbel.6x.gz ./usr/share/man/man1/quorbel-render.1.gz \
    ./usr/share/man/man1/quorbel-enable.1.gz ./usr/share/doc/quorbel/copyright \
    ./usr/share/doc/quorbel/changelog.gz | sort)
[ "$files" = "$expected" ] || fail "files in the package:
$files"

# The licence is the one at the root word for word, in the stand-alone
# paragraph, held by whom the About box names.
source_root=$(cd "$(dirname "$0")/../.." && pwd)
copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/quorbel/copyright)
licence=$(awk '/^License: Expat$/ { text = ""; keep = 1; next } keep { sub(/^ /, ""); sub(/^\.$/, ""); text = text $0 "\n" }
    END { printf "%s", text }' <<<"$copyright")
[ "$licence" = "$(sed -n '5,$p' "$source_root/LICENSE")" ] || fail "copyright's Expat text differs from LICENSE"
holder=$(sed -n 's/^Copyright (C) //p' "$source_root/LICENSE")
grep -q "^Copyright: $holder\$" <<<"$copyright" || fail "copyright does not name $holder"
grep -q "\"Copyright (C) $holder\"" "$source_root/resources/dialogs_english.rc" ||
    fail "the About box does not name $holder"

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
while read -r file _; do
    [ -f "$root/$file" ] || fail "$file not installed"
done <<<"$expected"
for program in quorbel quorbel-render quorbel-enable; do
    help=$(PATH=$root/usr/bin "$program" --help) || fail "$program does not run by name"
    page=$(man -M "$root/usr/share/man" -w "$program") || fail "man finds no page for $program"
    text=$(MANWIDTH=200 man -l "$page" 2>/dev/null)
    for option in $(grep -o -- '--[a-z-]*' <<<"$help" | sort -u); do
        grep -q -- "$option" <<<"$text" || fail "$page lacks $option"
    done
done
[ "$(man -M "$root/usr/share/man" -w quorbel)" = "$root/usr/share/man/man6/quorbel.6x.gz" ] ||
    fail "man quorbel finds $(man -M "$root/usr/share/man" -w quorbel), not the hack's page"

in_root --purge quorbel
after=$(cd "$root" && find . -not -path './var/lib/dpkg/*' | sort)
[ "$after" = "$(echo "$before" | grep -v '^./var/lib/dpkg/')" ] || fail "left behind after the purge:
$(diff <(echo "$before") <(echo "$after"))"
rm -f "$root.log"
