#!/bin/sh
# Installs what the build and the tests need beyond g++, cmake and GoogleTest,
# and what tools/fuzz/run.sh (clang, libFuzzer) and tools/soak/run.sh
# (gnuplot, xrestop) use, and the web page's build and browser tests
# (emscripten with node-acorn, chromium), and the Wayland saver's build
# (libwayland-dev, wayland-protocols, wayland-scanner from libwayland-bin)
# and tests (a headless sway, grim, wtype, swayidle; KWin with its fake
# input protocol from plasma-wayland-protocols and a session bus, captured
# through its X11-windowed outputs in Xvfb), and its idle waiter's build
# (KDE's idle protocol, also from plasma-wayland-protocols, and sd-bus from
# libsystemd-dev) and tests (mutter headless, or nested in Xvfb to be
# captured; gdbus from libglib2.0-bin, python3-gi for GNOME's stand-ins).
# Quick when everything is already there: it only asks dpkg.
set -eu

PACKAGES="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
wine wine64 wine32:i386 xvfb xserver-xephyr xdotool imagemagick x11-utils
locales fonts-ipafont-gothic libpng-dev libgif-dev googletest libgtest-dev libbenchmark-dev python3 nsis
libx11-dev x11-xserver-utils xscreensaver xscreensaver-data-extra libxml2-utils dpkg-dev lintian
clang-14 libclang-rt-14-dev gnuplot-nox xrestop
emscripten node-acorn chromium
pkg-config libwayland-dev wayland-protocols libwayland-bin sway grim wtype swayidle
kwin-wayland plasma-wayland-protocols dbus-daemon libsystemd-dev mutter libglib2.0-bin python3-gi"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

if [ -n "$missing" ]; then
    echo "installing:$missing"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

# The toolchain files name their compilers (tests: -posix, for std::thread and
# gtest; the program: -win32). Installing the win32 ones moves the plain
# names to them, so put those back where the other tools expect them.
for arch in i686 x86_64; do
    if [ "$(readlink -f /usr/bin/$arch-w64-mingw32-g++)" != "$(readlink -f /usr/bin/$arch-w64-mingw32-g++-posix)" ]; then
        $SUDO update-alternatives --set $arch-w64-mingw32-g++ /usr/bin/$arch-w64-mingw32-g++-posix >/dev/null
        $SUDO update-alternatives --set $arch-w64-mingw32-gcc /usr/bin/$arch-w64-mingw32-gcc-posix >/dev/null
    fi
done

# Japanese locale so that Wine shows the dialogs' text.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
    if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo "ja_JP.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen >/dev/null
fi
