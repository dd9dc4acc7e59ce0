// A plain window for drawing tests, a synthetic sheet whose pixels differ
// from their neighbours', and pixel read-back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "host/sheet_graphics_windows.h"

// Colour of the synthetic sheet at (x, y), 0x00RRGGBB: never black, and
// different from the pixels beside and above it.
uint32_t SheetColour(int x, int y);

// The sheet's size in those colours: 255 of them, and black as entry 0.
// Release with ReleaseSheetGraphics.
SheetGraphics CreateSyntheticSheet();

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
