// The damage one commit carries. Each rectangle is a request of 24 bytes,
// and libwayland gathers requests in a 4 KB buffer that it writes to the
// socket when full; a compositor that is slow to read leaves the socket no
// room, and a write then fails the connection. So a tick's requests must
// fit in that buffer: past kMostDamageRects rectangles, their union is
// damaged instead. Portable.
#pragma once

#include <cstddef>
#include <vector>

#include "display/paint_target.h"

// With the attach and the commit, 3.1 KB of requests.
constexpr size_t kMostDamageRects = 128;

// rects, or the one rectangle around them all when there are too many.
std::vector<PaintRect> CommitDamage(std::vector<PaintRect> rects);
