// The dialogs' calls that exist in an ANSI and a wide form, chosen in one
// place. The Windows 95 family implements only the ANSI forms (its wide
// ones are stubs that fail); the NT family gets the wide forms, so that the
// Japanese texts read correctly whatever the system's code page.
#pragma once

#include <windows.h>

#include <string>

// Text between UTF-16 and the system's code page, for the ANSI calls.
std::wstring Widen(const char* text);
std::string Narrow(const wchar_t* text);

// `templateName` is an id made with MAKEINTRESOURCEA or an ASCII name.
INT_PTR RunDialogBox(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC procedure);
HINSTANCE DialogInstance(HWND dialog);
LRESULT SendItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// Text of plain ASCII, such as a number.
void SetItemText(HWND dialog, int id, const std::string& ascii);
// The control's text as UTF-16; ANSI text is converted from the code page.
std::u16string ItemText(HWND dialog, int id);

// Installs `procedure` as the window's procedure and returns the previous one.
WNDPROC ReplaceWindowProc(HWND window, WNDPROC procedure);
// On the Windows 95 family WM_CHAR then carries bytes of the ANSI code page.
LRESULT CallPreviousProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// `file` is an ASCII file name. Returns zero when the help viewer fails.
BOOL StartHelp(HWND owner, const char* file, UINT command, ULONG_PTR data);
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);

// Loads string `id` of the program's resources into `buffer` (capacity in
// characters, terminator included); leaves it empty when the string is absent.
void LoadResourceString(UINT id, wchar_t* buffer, int capacity);
