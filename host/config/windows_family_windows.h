// Which family of Windows runs the program, set once by the host at start-up
// and read by everything that picks between the ANSI and the wide calls: the
// Windows 95 family implements only the ANSI forms, while on the NT family
// the wide forms keep the Japanese texts whatever the system's code page.
// The NT family until set.
#pragma once

void SetWindows95Family(bool on);
bool Windows95Family();
