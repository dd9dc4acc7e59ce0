// What each of an output's buffers lacks of the picture on screen. The cell
// painter draws only a tick's changes, so a buffer that was not the one
// shown last must first get every change drawn since it was shown; usually
// there is one buffer and nothing to repair. Portable.
#pragma once

#include <cstddef>
#include <vector>

#include "display/paint_target.h"

class BufferRepairs {
public:
    explicit BufferRepairs(ClientSize size) : size_(size) {}

    ClientSize size() const { return size_; }

    // A new buffer, its number returned: none of the picture is in it yet.
    size_t addBuffer();
    // `changes` were drawn into `buffer`: every other buffer now lacks them.
    void drawn(size_t buffer, const std::vector<PaintRect>& changes);
    // What `buffer` lacks, to be copied from the buffer shown last before
    // anything is drawn into it; then forgotten.
    std::vector<PaintRect> take(size_t buffer);

private:
    ClientSize size_;
    std::vector<std::vector<PaintRect>> lacking_;
};
