#!/bin/bash
# deb_package_test.sh <version> <installer script> <quorbel deb> <quorbel-wayland deb> <quorbel-render deb>:
# each package's name, version, maintainer (the publisher the Windows
# installer names), files and dependencies; then, with dpkg in a throwaway
# root, an upgrade from a stand-in for 1.11.004 (one package quorbel that
# held quorbel-render), the programs run by name, man finds their manual
# pages, each page lists every option the program's --help does, and a purge
# leaves nothing behind. Skipped (77) when not run as root, as dpkg needs.
set -uo pipefail

version=$1
installer=$2
shift 2
debs=("$@")
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ ${#debs[@]} = 3 ] || fail "three packages expected, got ${#debs[@]}"
arch=$(dpkg --print-architecture)
publisher=$(sed -n 's/.*"Publisher" "\(.*\)"$/\1/p' "$installer")
[ -n "$publisher" ] || fail "no publisher in $installer"

doc() { printf '%s\n' "./usr/share/doc/$1/copyright" "./usr/share/doc/$1/changelog.gz"; }
declare -A files depends programs
files[quorbel]=$(printf '%s\n' ./usr/bin/quorbel-enable ./usr/libexec/xscreensaver/quorbel \
    "./usr/bin/quorbel -> ../libexec/xscreensaver/quorbel" ./usr/share/xscreensaver/config/quorbel.xml \
    ./usr/share/man/man6/quorbel.6x.gz ./usr/share/man/man1/quorbel-enable.1.gz
    doc quorbel)
files[quorbel-wayland]=$(printf '%s\n' ./usr/bin/quorbel-wayland ./usr/share/man/man6/quorbel-wayland.6.gz
    doc quorbel-wayland)
files[quorbel-render]=$(printf '%s\n' ./usr/bin/quorbel-render ./usr/share/man/man1/quorbel-render.1.gz
    doc quorbel-render)
depends[quorbel]="xscreensaver libx11-6 libstdc++6 libc6"
depends[quorbel-wayland]="libwayland-client0 libstdc++6 libc6"
depends[quorbel-render]="libpng16-16 libgif7 libstdc++6 libc6"
programs[quorbel]="quorbel quorbel-enable"
programs[quorbel-wayland]=quorbel-wayland
programs[quorbel-render]=quorbel-render
packages=(quorbel quorbel-wayland quorbel-render)

for i in 0 1 2; do
    package=${packages[i]} deb=${debs[i]}
    [ "$(basename "$deb")" = "${package}_${version}_$arch.deb" ] || fail "file name $(basename "$deb")"
    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = "$package" ] || fail "Package: $(field Package)"
    [ "$(field Version)" = "$version" ] || fail "$package: Version: $(field Version)"
    [ "$(field Architecture)" = "$arch" ] || fail "$package: Architecture: $(field Architecture)"
    case "$(field Maintainer)" in "$publisher <"*">") ;; *) fail "$package: Maintainer: $(field Maintainer)" ;; esac
    for dependency in ${depends[$package]}; do
        field Depends | tr ',' '\n' | grep -q "^ *$dependency\b" || fail "$package: Depends lacks $dependency: $(field Depends)"
    done
    # Only the hack needs XScreenSaver; nothing needs X11 but the hack.
    if [ "$package" != quorbel ]; then
        field Depends | grep -q 'xscreensaver\|libx11' && fail "$package depends on X11: $(field Depends)"
    fi
    listed=$(dpkg-deb -c "$deb" | awk '$1 ~ /^l/ {print $(NF - 2) " -> " $NF} $1 ~ /^-/ {print $NF}' | sort)
    [ "$listed" = "$(sort <<<"${files[$package]}")" ] || fail "files in $package:
$listed"
done
dpkg-deb -f "${debs[2]}" Breaks | grep -q "^quorbel (<< $version)$" || fail "quorbel-render: Breaks: $(dpkg-deb -f "${debs[2]}" Breaks)"
dpkg-deb -f "${debs[2]}" Replaces | grep -q "^quorbel (<< $version)$" || fail "quorbel-render: Replaces"

[ "$(id -u)" = 0 ] || exit 77
root=$(mktemp -d)
trap 'rm -rf "$root" "$root.old" "$root.log"' EXIT
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
in_root() { dpkg --root="$root" --log=/dev/null --force-depends "$@" >"$root.log" 2>&1 || fail "dpkg $*: $(cat "$root.log")"; }
before=$(cd "$root" && find . | sort)

# 1.11.004 as far as the split matters: quorbel holding quorbel-render.
mkdir -p "$root.old/DEBIAN" "$root.old/usr/bin"
printf 'Package: quorbel\nVersion: 1.11.004\nArchitecture: %s\nMaintainer: %s\nDescription: stand-in\n' \
    "$arch" "$publisher" >"$root.old/DEBIAN/control"
printf '#!/bin/sh\n' >"$root.old/usr/bin/quorbel-render"
chmod 0755 "$root.old/usr/bin/quorbel-render"
dpkg-deb --root-owner-group -b "$root.old" "$root.old.deb" >/dev/null || fail "no stand-in package"
in_root -i "$root.old.deb"
rm -f "$root.old.deb"
in_root -i "${debs[@]}"
for package in "${packages[@]}"; do
    [ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status} ${Version}' "$package")" = \
        "install ok installed $version" ] || fail "$package not installed at $version"
    while read -r file _; do
        [ -f "$root/$file" ] || fail "$file not installed"
    done <<<"${files[$package]}"
    for program in ${programs[$package]}; do
        help=$(PATH=$root/usr/bin "$program" --help) || fail "$program does not run by name"
        page=$(man -M "$root/usr/share/man" -w "$program") || fail "man finds no page for $program"
        text=$(MANWIDTH=200 man -l "$page" 2>/dev/null)
        for option in $(grep -o -- '--[a-z-]*' <<<"$help" | sort -u); do
            grep -q -- "$option" <<<"$text" || fail "$page lacks $option"
        done
    done
done
owner=$(dpkg-query --admindir="$root/var/lib/dpkg" -S /usr/bin/quorbel-render | cut -d: -f1)
[ "$owner" = quorbel-render ] || fail "/usr/bin/quorbel-render belongs to $owner after the upgrade"
[ "$(man -M "$root/usr/share/man" -w quorbel)" = "$root/usr/share/man/man6/quorbel.6x.gz" ] ||
    fail "man quorbel finds $(man -M "$root/usr/share/man" -w quorbel), not the hack's page"

in_root --purge "${packages[@]}"
after=$(cd "$root" && find . -not -path './var/lib/dpkg/*' | sort)
[ "$after" = "$(echo "$before" | grep -v '^./var/lib/dpkg/')" ] || fail "left behind after the purge:
$(diff <(echo "$before") <(echo "$after"))"
