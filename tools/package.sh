#!/bin/bash
# package.sh [output-dir]: builds what a user installs, and only that:
#   quorbel_<version>_<arch>.deb           for Debian and derivatives: the
#                                          XScreenSaver hack and quorbel-enable,
#   quorbel-wayland_<version>_<arch>.deb   the Wayland saver (when built)
#   quorbel-render_<version>_<arch>.deb    and quorbel-render
#   Quorbel-Setup-<version>.exe            the Windows installer (both programs)
#   win32/Quorbel.scr, win64/Quorbel.scr   the bare Windows programs
# It installs only what these builds need (the list below: no Wine, no test,
# fuzzing or soak tools, no i386 architecture or locale), builds them in
# build/package without the tests, copies them to the output folder
# (default build/package/out) and prints where they are. The builds' output
# goes to build/package/package.log, shown in part only when one fails.
# tools/ci/test.sh is the test command, which builds and tries everything.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORBEL_PACKAGE_BUILD_DIR:-$root/build/package}
out=$(realpath -m "${1:-$build/out}")

PACKAGES="cmake make g++ file dpkg-dev libx11-dev libpng-dev libgif-dev
pkg-config libwayland-dev wayland-protocols libwayland-bin
g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 nsis"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "installing:$missing"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

# From here on the terminal gets one line a stage and the list of files;
# everything the builds print goes to the log.
mkdir -p "$build"
log=$build/package.log
: >"$log"
exec 3>&1 4>&2 >>"$log" 2>&1
on_exit() {
    local status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 25 "$log" >&4
        echo "package.sh: the build failed (exit code $status); all its output is in $log" >&4
    fi
}
trap on_exit EXIT
stage() {
    echo "== $1"
    echo "$1 (output in $log)" >&3
}

jobs=$(nproc)
configure() {  # configure <dir> [cmake args...]
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORBEL_TESTS=OFF "$@" >/dev/null
}

stage "Linux packages"
configure "$build/native"
cmake --build "$build/native" -j "$jobs" --target quorbel_debs
IFS=';' read -ra debs <<<"$(sed -n 's/^QUORBEL_DEBS:INTERNAL=//p' "$build/native/CMakeCache.txt")"

# The programs alone, with the win32 thread model, as the test builds make
# them; the sprite sheet comes from the native build.
for arch in i686:win32 x86_64:win64; do
    stage "Windows, ${arch#*:}"
    configure "$build/${arch#*:}" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-${arch%%:*}-win32.cmake" \
        -DQUORBEL_NATIVE_BUILD_DIR="$build/native" -DQUORBEL_PROGRAM_ONLY=ON
    cmake --build "$build/${arch#*:}" -j "$jobs" --target quorbel_scr
done

stage "Windows installer"
mkdir -p "$out/win32" "$out/win64"
setup=$("$root/packaging/windows/build.sh" "$build/win32" "$build/win64" "$out" | tail -n1)
cp "${debs[@]}" "$out/"
linux=""
for deb in "${debs[@]}"; do
    linux+="${linux:+$'\n'                     }$out/${deb##*/}"
done
cp "$build/win32/host/Quorbel.scr" "$out/LICENSE.txt" "$out/win32/"
cp "$build/win64/host/Quorbel.scr" "$out/LICENSE.txt" "$out/win64/"

cat >&3 <<DONE

Linux packages:      $linux
Windows installer:   $setup
Windows, bare:       $out/win32/Quorbel.scr (32-bit)
                     $out/win64/Quorbel.scr (64-bit)
DONE
