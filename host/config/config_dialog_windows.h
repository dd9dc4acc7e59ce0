// The configuration dialog (resource 2003), its About box and the
// application strings.
#pragma once

#include <windows.h>

#include <cstdint>

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Replaces the window procedure of the Generations box: only digits and
// control characters get through.
LRESULT CALLBACK DigitEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the configuration dialog modally and returns 1 after OK, 0 after
// Cancel. Without an owner it is centred on the screen.
INT_PTR RunConfigDialog(HINSTANCE instance, HWND owner);

// Moves `window` so that it is centred over `reference` and stays on the
// screen. A null reference stands for the whole screen.
void CenterOverWindow(HWND window, HWND reference);

// Loads the five application strings; the saver calls it at every start.
void LoadAppStrings();
// The loaded strings that are shown: the help-failure message and its caption.
const wchar_t* HelpFailureText();
const wchar_t* HelpFailureCaption();

// The show operations: each checks the button of the given value, unchecks
// the rest of its group, and enables or disables the dependent controls.
void ShowSpeedMode(int32_t value);
void ShowLifeGame(int32_t value);
void ShowTovtov(int32_t value);
void ShowShrink(int32_t value);
void ShowSize(int32_t value);
void ShowConnectTBLR(int32_t value);
void ShowColors(int32_t value);
