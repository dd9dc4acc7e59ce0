// A commit's damage fits in what libwayland holds when the compositor reads
// slowly (9,900 rectangles once ended the saver), yet stays near the changes.
#include "wayland/commit_damage.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(CommitDamage, AtMostABoundedNumberCoverEveryChange) {
    for (const size_t cells : {size_t{10}, size_t{900}}) {
        ChangedArea changed;  // 8 x 8 cells 300 pixels apart: none merge at first
        changed.reset({9000, 9000});
        for (int i = 0; i < static_cast<int>(cells); ++i) {
            changed.add({i % 30 * 300, i / 30 * 300, i % 30 * 300 + 8, i / 30 * 300 + 8});
        }
        const std::vector<PaintRect> damage = CommitDamage(changed);
        EXPECT_LE(damage.size(), kMostDamageRects);
        EXPECT_TRUE(cells > kMostDamageRects || damage.size() == cells) << "as merged for any front end";
        EXPECT_LT(PixelsIn(damage), 9000L * 9000 / 10) << "not the whole picture";
        for (const PaintRect& c : changed.changes()) {
            EXPECT_TRUE(std::any_of(damage.begin(), damage.end(),
                                    [&](const PaintRect& r) {
                                        return r.left <= c.left && r.top <= c.top && r.right >= c.right &&
                                               r.bottom >= c.bottom;
                                    }))
                << c.left << "," << c.top;
        }
    }
}
