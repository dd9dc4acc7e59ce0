#!/bin/bash
# deb_package_test.sh <version> <installer script> <package names, comma-separated> <deb>...:
# the packages are those named, each with its name, version, maintainer (the
# publisher the Windows installer names), files and dependencies, and only
# quorbel needs XScreenSaver. Then with dpkg in throwaway roots: a fresh
# install, and upgrades from 1.11.004, where quorbel held quorbel-render (a
# package of that layout is made here from the new ones), with either package
# unpacked first. After each, the programs run by name, man finds their
# manual pages, each page lists every option the program's --help does, and
# purging the packages one by one keeps the others whole and leaves nothing
# behind. The roots are skipped (77) when not run as root, as dpkg needs.
set -uo pipefail

version=$1
installer=$2
IFS=, read -ra packages <<<"$3"
shift 3
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
arch=$(dpkg --print-architecture)
publisher=$(sed -n 's/.*"Publisher" "\(.*\)"$/\1/p' "$installer")
[ -n "$publisher" ] || fail "no publisher in $installer"

doc() { printf '%s\n' "./usr/share/doc/$1/copyright" "./usr/share/doc/$1/changelog.gz"; }
declare -A files depends programs deb
files[quorbel]=$(printf '%s\n' ./usr/bin/quorbel-enable ./usr/libexec/xscreensaver/quorbel \
    "./usr/bin/quorbel -> ../libexec/xscreensaver/quorbel" ./usr/share/xscreensaver/config/quorbel.xml \
    ./usr/share/man/man6/quorbel.6x.gz ./usr/share/man/man1/quorbel-enable.1.gz
    doc quorbel)
files[quorbel-wayland]=$(printf '%s\n' ./usr/bin/quorbel-wayland ./usr/share/man/man6/quorbel-wayland.6.gz
    doc quorbel-wayland)
files[quorbel-render]=$(printf '%s\n' ./usr/bin/quorbel-render ./usr/share/man/man1/quorbel-render.1.gz
    doc quorbel-render)
depends[quorbel]="xscreensaver libx11-6 libstdc++6 libc6"
depends[quorbel-wayland]="libwayland-client0 libsystemd0 libstdc++6 libc6"
depends[quorbel-render]="libpng16-16 libgif7 libstdc++6 libc6"
programs[quorbel]="quorbel quorbel-enable"
programs[quorbel-wayland]=quorbel-wayland
programs[quorbel-render]=quorbel-render

for file in "$@"; do
    package=$(dpkg-deb -f "$file" Package)
    [ -n "${files[$package]:-}" ] || fail "$file is the unknown package '$package'"
    deb[$package]=$file
done
[ "$(printf '%s\n' "${!deb[@]}" | sort)" = "$(printf '%s\n' "${packages[@]}" | sort)" ] ||
    fail "packages made: ${!deb[*]}; expected ${packages[*]}"

source_root=$(cd "$(dirname "$0")/../.." && pwd)
holder=$(sed -n 's/^Copyright (C) //p' "$source_root/LICENSE")
grep -q "\"Copyright (C) $holder\"" "$source_root/resources/dialogs_english.rc" ||
    fail "the About box does not name $holder"
for package in "${packages[@]}"; do
    field() { dpkg-deb -f "${deb[$package]}" "$1"; }
    [ "$(basename "${deb[$package]}")" = "${package}_${version}_$arch.deb" ] ||
        fail "file name $(basename "${deb[$package]}")"
    [ "$(field Version)" = "$version" ] || fail "$package: Version: $(field Version)"
    [ "$(field Architecture)" = "$arch" ] || fail "$package: Architecture: $(field Architecture)"
    case "$(field Maintainer)" in "$publisher <"*">") ;; *) fail "$package: Maintainer: $(field Maintainer)" ;; esac
    for dependency in ${depends[$package]}; do
        field Depends | tr ',' '\n' | grep -q "^ *$dependency\b" ||
            fail "$package: Depends lacks $dependency: $(field Depends)"
    done
    if [ "$package" != quorbel ] && field Depends | grep -q 'xscreensaver\|libx11'; then
        fail "$package needs X11: $(field Depends)"
    fi
    listed=$(dpkg-deb -c "${deb[$package]}" | awk '$1 ~ /^l/ {print $(NF - 2) " -> " $NF} $1 ~ /^-/ {print $NF}' | sort)
    [ "$listed" = "$(sort <<<"${files[$package]}")" ] || fail "files in $package:
$listed"
    # The licence is the one at the root word for word, in the stand-alone
    # paragraph, held by whom the About box names.
    copyright=$(dpkg-deb --fsys-tarfile "${deb[$package]}" | tar -xO "./usr/share/doc/$package/copyright")
    licence=$(awk '/^License: Expat$/ { text = ""; keep = 1; next } keep { sub(/^ /, ""); sub(/^\.$/, ""); text = text $0 "\n" }
        END { printf "%s", text }' <<<"$copyright")
    [ "$licence" = "$(sed -n '5,$p' "$source_root/LICENSE")" ] || fail "$package: copyright's Expat text differs from LICENSE"
    grep -q "^Copyright: $holder\$" <<<"$copyright" || fail "$package: copyright does not name $holder"
done
# quorbel-render takes its files over from a quorbel older than the split.
for relation in Breaks Replaces; do
    value=$(dpkg-deb -f "${deb[quorbel-render]}" "$relation")
    split=$(sed -n 's/^quorbel (<< \(.*\))$/\1/p' <<<"$value")
    [ -n "$split" ] && dpkg --compare-versions 1.11.004 lt "$split" && dpkg --compare-versions "$split" le "$version" ||
        fail "quorbel-render: $relation: '$value', not quorbel older than the split after 1.11.004"
done

[ "$(id -u)" = 0 ] || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 1.11.004's layout: quorbel held quorbel-render and its manual page.
old=$work/old
dpkg-deb -x "${deb[quorbel]}" "$old" && dpkg-deb -x "${deb[quorbel-render]}" "$old" &&
    dpkg-deb -e "${deb[quorbel]}" "$old/DEBIAN" || fail "cannot unpack the packages"
rm -r "$old/usr/share/doc/quorbel-render" "$old/DEBIAN/md5sums"
sed -i 's/^Version: .*/Version: 1.11.004/' "$old/DEBIAN/control"
dpkg-deb --root-owner-group -b "$old" "$work/quorbel_1.11.004.deb" >/dev/null || fail "cannot build 1.11.004"

# new_root <name>: an empty dpkg root; in_root <dpkg arguments>: dpkg in it.
new_root() {
    root=$work/$1
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
    touch "$root/var/lib/dpkg/status"
    before=$(cd "$root" && find . -not -path './var/lib/dpkg/*' | sort)
}
in_root() { dpkg --root="$root" --log=/dev/null --force-depends "$@" >"$work/log" 2>&1 || fail "dpkg $*: $(cat "$work/log")"; }
status() { dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status} ${Version}' "$1" 2>/dev/null; }
# Each package's files are there, each program runs by name and its manual
# page (as man finds it) lists every option of its --help.
check_whole() {
    local package program file help page text option
    for package in "$@"; do
        [ "$(status "$package")" = "install ok installed $version" ] || fail "$how: $package: $(status "$package")"
        while read -r file _; do
            [ -e "$root/$file" ] || fail "$how: $file missing"
            [ "$(dpkg-query --admindir="$root/var/lib/dpkg" -S "${file#.}" | cut -d: -f1)" = "$package" ] ||
                fail "$how: $file does not belong to $package"
        done <<<"${files[$package]}"
        for program in ${programs[$package]}; do
            help=$(PATH=$root/usr/bin "$program" --help) || fail "$how: $program does not run by name"
            page=$(man -M "$root/usr/share/man" -w "$program") || fail "$how: man finds no page for $program"
            text=$(MANWIDTH=200 man -l "$page" 2>/dev/null)
            for option in $(grep -o -- '--[a-z-]*' <<<"$help" | sort -u); do
                grep -q -- "$option" <<<"$text" || fail "$how: $page lacks $option"
            done
        done
    done
}

new_debs=()
for package in "${packages[@]}"; do
    [ "$package" != quorbel ] && [ "$package" != quorbel-render ] && new_debs+=("${deb[$package]}")
done
# How each case installs: its dpkg runs, one a line. The upgrades unpack as
# apt does, deconfiguring what a new package breaks until its own upgrade.
declare -A cases
cases[fresh install]="-i ${deb[*]}"
cases[upgrade, quorbel-render first]="-i $work/quorbel_1.11.004.deb
-i --auto-deconfigure ${deb[quorbel-render]} ${deb[quorbel]} ${new_debs[*]}"
cases[upgrade, quorbel first]="-i $work/quorbel_1.11.004.deb
-i ${deb[quorbel]} ${deb[quorbel-render]} ${new_debs[*]}"
n=0
for how in "${!cases[@]}"; do
    new_root $((n += 1))
    while read -ra step; do
        in_root "${step[@]}"
    done <<<"${cases[$how]}"
    check_whole "${packages[@]}"
    [ "$(man -M "$root/usr/share/man" -w quorbel)" = "$root/usr/share/man/man6/quorbel.6x.gz" ] ||
        fail "$how: man quorbel finds $(man -M "$root/usr/share/man" -w quorbel), not the hack's page"
    remaining=("${packages[@]}")
    for package in "${packages[@]}"; do
        in_root --purge "$package"
        remaining=("${remaining[@]:1}")
        [[ "$(status "$package")" != *"ok installed"* ]] || fail "$how: $package still installed after its purge"
        check_whole "${remaining[@]}"
    done
    after=$(cd "$root" && find . -not -path './var/lib/dpkg/*' | sort)
    [ "$after" = "$before" ] || fail "$how: left behind after the purge:
$(diff <(echo "$before") <(echo "$after"))"
done
