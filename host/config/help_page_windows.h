// Where the dialog's Help button leads. The old help viewer shows nothing
// on Windows since Vista (its stub there only says so) and no help file
// ships, so the installed HTML page stands in for it when the viewer or
// the file is missing.
#pragma once

#include <windows.h>

#include <string>

// A working old help viewer (not the stub of Vista and later) and
// `helpFile` (ASCII) are both there, the file where the viewer would look.
bool OldHelpAvailable(const char* helpFile);

// The help page beside the program (a copy by hand), else where the
// installer recorded it; empty when neither exists.
std::wstring FindHelpPage();

// Opens the page with the user's program for web pages; false on failure.
bool OpenHelpPage(HWND owner, const std::wstring& page);
