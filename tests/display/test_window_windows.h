// A plain window for drawing tests, a synthetic sheet bitmap whose every
// pixel tells where on the sheet it came from, and pixel read-back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// Colour of the synthetic sheet at (x, y): never black, distinct for every
// position on the 540 x 1890 sheet. 0x00RRGGBB.
uint32_t SheetColour(int x, int y);

// A device bitmap of the sheet's size, filled with SheetColour.
HBITMAP CreateSyntheticSheet();

// The tests' one window: a visible pop-up with a client area of
// kTestWindowWidth x kTestWindowHeight at the screen's corner. It erases to
// black, like the saver window, and does nothing else. It is made on first
// use and lives until the process ends (without a window manager, Wine
// takes seconds to take a window down).
constexpr int kTestWindowWidth = 333;
constexpr int kTestWindowHeight = 247;
HWND TestWindow();

// Handles every message waiting for this thread.
void PumpMessages();

// Fills the client area with a colour, to show which pixels get drawn.
void FillClient(HWND window, COLORREF colour);

// The client area's pixels, row by row from the top, as 0x00RRGGBB.
std::vector<uint32_t> ReadClient(HWND window, int width, int height);
