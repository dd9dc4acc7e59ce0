// Which rectangles a tick's changes are shown in: every changed pixel is
// covered, nothing outside the client area is, and neighbours are joined
// only as far as the call cost allows.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "display/changed_area.h"

namespace {

constexpr ClientSize kClient{320, 200};

bool Same(const PaintRect& a, const PaintRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The same rectangles, in any order.
bool SameSet(std::vector<PaintRect> expected, const std::vector<PaintRect>& actual) {
    for (const PaintRect& r : actual) {
        auto match = std::find_if(expected.begin(), expected.end(), [&](const PaintRect& e) { return Same(e, r); });
        if (match == expected.end()) {
            return false;
        }
        expected.erase(match);
    }
    return expected.empty();
}

PaintRect Cell(int column, int row) { return {16 * column, 16 * row, 16 * column + 16, 16 * row + 16}; }

}  // namespace

TEST(ChangedArea, GapsCheaperThanACallAreBridgedAndEqualRunsStacked) {
    ChangedArea area;
    area.reset(kClient);
    EXPECT_TRUE(area.empty());
    for (int column : {0, 1, 4, 15}) {
        area.add(Cell(column, 2));
        area.add(Cell(column, 3));
    }
    area.add(Cell(0, 2));  // drawn twice (an erase, then a sprite)
    area.add(Cell(0, 5));  // a row apart: not stacked onto rows 2-3

    // Cells 1 and 4 are 32 pixels apart: 512 pixels of gap on a 16-pixel row.
    EXPECT_TRUE(SameSet({{0, 32, 80, 64}, {0, 80, 16, 96}, {240, 32, 256, 64}}, area.merged(512)));
    EXPECT_TRUE(SameSet({{0, 32, 32, 64}, {64, 32, 80, 64}, {0, 80, 16, 96}, {240, 32, 256, 64}}, area.merged(511)));

    // A clear covers all; one call shows it.
    area.add({0, 0, kClient.width, kClient.height});
    EXPECT_TRUE(SameSet({{0, 0, kClient.width, kClient.height}}, area.merged(0)));
}

TEST(ChangedArea, ChangesAreClippedToTheClientArea) {
    ChangedArea area;
    area.reset(kClient);
    area.add({-8, -8, 8, 8});
    area.add({400, 10, 420, 20});  // wholly outside
    area.add({310, 190, 330, 210});
    EXPECT_TRUE(SameSet({{0, 0, 8, 8}, {310, 190, 320, 200}}, area.merged(0)));

    area.reset(kClient);
    area.add({400, 10, 420, 20});
    EXPECT_TRUE(area.empty());
}

TEST(ChangedArea, RandomCellsAreAllCoveredByNoMoreRectanglesThanCells) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        ChangedArea area;
        area.reset(kClient);
        std::vector<bool> changed(static_cast<size_t>(kClient.width) * kClient.height, false);
        const int cells = 1 + static_cast<int>(random() % 200);
        for (int n = 0; n < cells; ++n) {
            // Cells of the size the round draws, some hanging over the edge.
            const int side = 8 << (round % 3);
            const int x = static_cast<int>(random() % 22) * side - side / 2;
            const int y = static_cast<int>(random() % 14) * side;
            area.add({x, y, x + side, y + side});
            for (int j = std::max(y, 0); j < std::min(y + side, kClient.height); ++j) {
                for (int i = std::max(x, 0); i < std::min(x + side, kClient.width); ++i) {
                    changed[static_cast<size_t>(j) * kClient.width + i] = true;
                }
            }
        }
        const std::vector<PaintRect> shown = area.merged(round % 2 == 0 ? 0 : 4096);
        EXPECT_LE(shown.size(), static_cast<size_t>(cells));
        std::vector<bool> covered(changed.size(), false);
        for (const PaintRect& r : shown) {
            ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= kClient.width && r.bottom <= kClient.height);
            for (int j = r.top; j < r.bottom; ++j) {
                for (int i = r.left; i < r.right; ++i) {
                    covered[static_cast<size_t>(j) * kClient.width + i] = true;
                }
            }
        }
        for (size_t i = 0; i < changed.size(); ++i) {
            ASSERT_TRUE(!changed[i] || covered[i]) << "round " << round << ": pixel " << i % kClient.width << ","
                                                   << i / kClient.width << " changed and not shown";
        }
    }
}
