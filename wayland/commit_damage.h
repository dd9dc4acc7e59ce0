// The damage one commit carries. Each rectangle is a request of 24 bytes,
// and libwayland gathers requests in a 4 KB buffer that it writes to the
// socket when full; a compositor that is slow to read leaves the socket no
// room, and a write then fails the connection. So a tick's requests must
// fit in that buffer: past kMostDamageRects rectangles, the changes are
// merged further. Portable.
#pragma once

#include <cstddef>
#include <vector>

#include "display/changed_area.h"

// With the attach and the commit, 3.1 KB of requests.
constexpr size_t kMostDamageRects = 128;

// The changes merged as for any front end (kShowCallCost), or, when that
// leaves too many rectangles, with a call costing four times as much, and so
// on: the fewest extra pixels for the rectangles saved.
std::vector<PaintRect> CommitDamage(const ChangedArea& changed);
