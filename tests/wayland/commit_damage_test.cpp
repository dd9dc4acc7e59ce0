// A commit's damage stays within the requests libwayland can hold when the
// compositor reads slowly: a 9000 x 9000 window of small cells once sent
// 9,900 rectangles in one commit, and the full socket ended the saver.
#include "wayland/commit_damage.h"

#include <gtest/gtest.h>

namespace {

// n cells of 4 x 4 along a diagonal from (10, 20).
std::vector<PaintRect> Cells(size_t n) {
    std::vector<PaintRect> cells;
    for (int i = 0; i < static_cast<int>(n); ++i) {
        cells.push_back({10 + 4 * i, 20 + 4 * i, 14 + 4 * i, 24 + 4 * i});
    }
    return cells;
}

TEST(CommitDamage, ManyRectanglesBecomeTheirUnion) {
    for (const size_t n : {size_t{0}, size_t{1}, kMostDamageRects, kMostDamageRects + 1, size_t{9900}}) {
        const std::vector<PaintRect> damage = CommitDamage(Cells(n));
        if (n <= kMostDamageRects) {
            EXPECT_EQ(damage.size(), n) << "kept as they are";
            continue;
        }
        ASSERT_EQ(damage.size(), 1u) << n;
        const int end = 4 * static_cast<int>(n);
        EXPECT_TRUE(damage[0].left == 10 && damage[0].top == 20 && damage[0].right == 10 + end &&
                    damage[0].bottom == 20 + end)
            << n;
    }
}

}  // namespace
