// Draws the saver's icon: a glider of coloured cells on black, as an .ico
// file holding a 32x32 16-colour image and a 32x32 monochrome one.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kIconSize = 32;

// The 16-colour image as palette indices, row 0 at the top.
std::vector<uint8_t> DrawColourIcon();
// The monochrome image, 1 = white, row 0 at the top.
std::vector<uint8_t> DrawMonochromeIcon();

// The complete .ico file. The same bytes on every run and platform.
std::vector<uint8_t> BuildIconFile();
