// Copies a window's pixels from the screen into a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <string>

bool SaveWindowBitmap(HWND window, const std::wstring& path);
