// The run modes of the saver program and the frame every run passes through.
#pragma once

#include <windows.h>

#include <cstdint>

// Dispatches on the argument text (program name and following blanks already
// removed) and returns the exit code: -1, 0, or the dialog's result.
int32_t HostMain(HINSTANCE instance, const char* arguments);

// Full screen when parent is null, a preview inside parent otherwise.
int32_t RunSaverWindow(HWND parent);
int32_t RunPreview(const char* argument);
int32_t RunConfiguration(HWND owner);
int32_t RunChangePassword(const char* argument);
bool PrepareConfigDialog(HINSTANCE instance);
