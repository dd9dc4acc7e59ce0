// The configuration dialog (resource 2003), its About box and the
// application strings.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Loads the five application strings; the saver calls it at every start.
void LoadAppStrings();
