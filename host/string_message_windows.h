// The running saver's own message boxes, apart from the settings dialog's
// texts: both strings from the program's resources, in the language Windows
// picks.
#pragma once

#include <windows.h>

// A message box with string `textId` as its text and `captionId` as its
// caption. The Windows 95 family gets them through the ANSI calls, whose
// wide forms it lacks; the NT family through the wide ones, so that the
// Japanese strings read correctly whatever the system's code page.
int ShowStringMessage(HWND owner, UINT textId, UINT captionId, UINT style);
