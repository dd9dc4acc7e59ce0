// The counts the soak ledger keeps inside a running saver, in a named block
// of shared memory that soak_probe reads from outside.
#pragma once

#include <windows.h>

constexpr char kSoakLedgerName[] = "QuorbelSoakLedger";

struct SoakLedger {
    LONG ready;        // 1 once the program's imports go through the counters
    LONG created;      // GDI objects the program made (DCs, bitmaps, palettes, brushes)
    LONG deleted;      // DeleteDC and DeleteObject calls that succeeded
    LONG dcsTaken;     // GetDC
    LONG dcsReleased;  // ReleaseDC
    LONG clears;       // FillRect over the whole screen: a world's start
};
