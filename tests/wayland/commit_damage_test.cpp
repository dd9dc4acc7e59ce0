// A commit's damage fits in what libwayland holds when the compositor reads
// slowly: a 9000 x 9000 window of small cells once sent 9,900 rectangles in
// one commit, and the full socket ended the saver.
#include "wayland/commit_damage.h"

#include <gtest/gtest.h>

TEST(CommitDamage, ManyRectanglesBecomeTheirUnion) {
    std::vector<PaintRect> cells;  // 4 x 4 cells on a diagonal from (10, 20)
    for (int i = 0; i < 1000; ++i) {
        cells.push_back({10 + 4 * i, 20 + 4 * i, 14 + 4 * i, 24 + 4 * i});
        const std::vector<PaintRect> damage = CommitDamage(cells);
        const PaintRect& last = cells.back();
        ASSERT_EQ(damage.size(), cells.size() <= kMostDamageRects ? cells.size() : 1u) << cells.size();
        ASSERT_TRUE(damage[0].left == 10 && damage[0].top == 20 && damage.back().right == last.right &&
                    damage.back().bottom == last.bottom)
            << cells.size();
    }
}
