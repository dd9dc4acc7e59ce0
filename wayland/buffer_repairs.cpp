#include "wayland/buffer_repairs.h"

namespace {

// Past this many rectangles the whole picture is copied instead, so that the
// list stays bounded (2 MB) however long a buffer is held. Every cell of a
// 3840 x 2160 world of small cells changing in one tick is 83,000: below it,
// since copying only what changed is what keeps a tick cheap.
constexpr size_t kMostRects = 1 << 17;

}  // namespace

size_t BufferRepairs::addBuffer() {
    lacking_.push_back({{0, 0, size_.width, size_.height}});
    return lacking_.size() - 1;
}

void BufferRepairs::drawn(size_t buffer, const std::vector<PaintRect>& changes) {
    for (size_t other = 0; other < lacking_.size(); ++other) {
        if (other == buffer) {
            continue;
        }
        std::vector<PaintRect>& lacking = lacking_[other];
        const PaintRect whole{0, 0, size_.width, size_.height};
        const bool isWhole = lacking.size() == 1 && lacking[0].left == 0 && lacking[0].top == 0 &&
                             lacking[0].right == size_.width && lacking[0].bottom == size_.height;
        if (isWhole) {
            continue;
        }
        if (lacking.size() + changes.size() > kMostRects) {
            lacking.assign(1, whole);
        } else {
            lacking.insert(lacking.end(), changes.begin(), changes.end());
        }
    }
}

std::vector<PaintRect> BufferRepairs::take(size_t buffer) {
    std::vector<PaintRect> lacking;
    lacking.swap(lacking_[buffer]);
    return lacking;
}
