#!/bin/bash
# The test command: installs what is missing, builds the native core (plain
# and with ASan+UBSan) with the native programs (quorbel-render; the X11
# saver, whose tests start private Xvfb displays, and the .deb packages),
# the Windows program (32- and 64-bit) and the installer, and runs every
# test, natively and under Wine. Exits non-zero on any failure.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
"$root/tools/ci/install_deps.sh"

jobs=$(nproc)
build=${QUORBEL_BUILD_DIR:-$root/build}

# Each stage's heading says how long the run has taken so far.
stage() { echo "== $1 (at $((SECONDS / 60))m$((SECONDS % 60))s)"; }

configure() {  # configure <dir> [cmake args...]
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

stage "native"
configure "$build/native"
cmake --build "$build/native" -j "$jobs"
# The programs under real compositors (sway, KWin, mutter) run once, in the
# ASan+UBSan build below, where a memory fault shows too.
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" -LE 'sway|kwin|mutter'

stage "native, ASan+UBSan"
configure "$build/asan" -DQUORBEL_SANITIZE=ON
cmake --build "$build/asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$build/asan" --output-on-failure -j "$jobs"

# The Windows builds embed the sprite sheet that the native generator draws.
native_tools="-DQUORBEL_NATIVE_BUILD_DIR=$build/native"

stage "web page (Emscripten), in headless Chromium"
# Debian's emscripten finds acorn through NODE_PATH.
NODE_PATH=/usr/share/nodejs configure "$build/web" -DQUORBEL_WEB=ON -DCMAKE_BUILD_TYPE=Release "$native_tools" \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
NODE_PATH=/usr/share/nodejs cmake --build "$build/web" -j "$jobs" --target quorbel_web_page
ctest --test-dir "$build/web" --output-on-failure

stage "Windows 32-bit"
configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" "$native_tools"
cmake --build "$build/win32" -j "$jobs"

stage "Windows 64-bit"
configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" "$native_tools"
cmake --build "$build/win64" -j "$jobs"

stage "under Wine"
"$root/tools/ci/wine_session.sh" "$build/wineprefix" \
    bash -c "ctest --test-dir '$build/win32' --output-on-failure && \
             ctest --test-dir '$build/win64' --output-on-failure"
stage "installer"
# Made from both Windows builds, then tried on a 64-bit and a 32-bit prefix.
version=$(sed -n 's/^QUORBEL_VERSION_TEXT:[A-Z]*=//p' "$build/win64/CMakeCache.txt")
# Beside it a build whose lookup of the desktop's user answers another
# account, as when a standard user's install is elevated by an administrator.
setup=$("$root/packaging/windows/build.sh" "$build/win32" "$build/win64" "$build/installer" | tail -n1)
stand_in_sid=S-1-5-21-1004336348-1177238915-682003330-1001
stand_in_setup=$("$root/packaging/windows/build.sh" "$build/win32" "$build/win64" "$build/installer/stand-in" \
    -DDESKTOP_USER_STAND_IN="$stand_in_sid" | tail -n1)
"$root/tools/ci/wine_session.sh" "$build/wineprefix" \
    "$root/tests/installer/installer_test.sh" "$setup" "$version" "$stand_in_setup" "$stand_in_sid"
WINEARCH=win32 "$root/tools/ci/wine_session.sh" "$build/wineprefix32" \
    "$root/tests/installer/installer_test.sh" "$setup" "$version" "$stand_in_setup" "$stand_in_sid"
stage "fuzzing, 10 s a target"
QUORBEL_BUILD_DIR="$build" QUORBEL_FUZZ_JOBS=2 "$root/tools/fuzz/run.sh" 10

stage "soak, smoke run"
QUORBEL_BUILD_DIR="$build" "$root/tools/soak/run.sh" 0.75
stage "all tests passed"
