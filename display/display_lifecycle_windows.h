// The saver window's display: started during WM_CREATE, ended during
// WM_DESTROY (see DisplayWindowProc).
#pragma once

#include <windows.h>

// Loads the strings and settings, seeds the random source, resolves the
// effective settings, builds the sheet graphics, sizes and seeds the first
// world to the window's client area and starts the animation thread, in
// that order. Always gives 1.
int StartDisplay(HWND window);

// Joins the animation thread, then releases the sheet, its bitmap and its
// palette, whichever exist.
void EndDisplay();
