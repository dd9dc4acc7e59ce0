#!/bin/bash
# take_screenshots.sh <win32-build-dir> <output-dir>
#
# Runs the dialog text test under a Japanese and an English locale with
# screenshots switched on, and converts the pictures to PNG:
#   <output-dir>/config_dialog_{ja,en}.png, about_box_{ja,en}.png
# Call it inside tools/ci/wine_session.sh, which provides Wine and a display.
set -euo pipefail

build=$(realpath "$1")
out=$(realpath -m "$2")
mkdir -p "$out"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

program="$build/tests/config_dialog/config_dialog_text_tests.exe"
wine "$build/tests/config_dialog/wine_display_setup.exe" >/dev/null
for run in "ja ja_JP.UTF-8" "en C.UTF-8"; do
    set -- $run
    LC_ALL=$2 QUORBEL_SCREENSHOT_DIR="Z:${shots//\//\\}" QUORBEL_SCREENSHOT_TAG=$1 \
        wine "$program" --gtest_filter="*/NT" >/dev/null
done
for bmp in "$shots"/*.bmp; do
    convert "$bmp" "$out/$(basename "${bmp%.bmp}").png"
done
ls "$out"
