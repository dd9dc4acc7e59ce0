// Counts the GDI objects and window DCs that this program takes and gives
// back, by routing its own imports of the creating and releasing calls
// through counters. Wine's GetGuiResources reports no objects at all, so a
// leak test needs its own count.
#pragma once

#include <windows.h>

struct GdiLedger {
    LONG created;      // CreateCompatibleDC, CreateCompatibleBitmap, CreateDIBSection, CreatePalette, CreateSolidBrush
    LONG deleted;      // DeleteDC, DeleteObject that succeeded
    LONG dcsTaken;     // GetDC
    LONG dcsReleased;  // ReleaseDC
};

// Installs the counters on first use; false if the imports were not found.
bool StartGdiLedger();
GdiLedger ReadGdiLedger();
