#include "x11/paint_way.h"

#include <gtest/gtest.h>

namespace {

const char* Name(PaintWay way) { return way == PaintWay::Cells ? "cells" : "composed"; }

// The scenes the rule was fitted to, and the ends of it: few requests cost
// less than composing, many cells in few rectangles cost more.
TEST(CheaperWay, FromTheShapeOfATick) {
    struct Case {
        const char* scene;
        TickShape tick;
        PaintWay expected;
    };
    const Case cases[] = {
        {"1920x1080, small wriggling cells, 400 in 300 rectangles", {400, 225, 300, 400 * 225}, PaintWay::Cells},
        {"3840x2160 all changing, scale 1: 36,864 cells, one rectangle",
         {36864, 225, 1, 3840 * 2160},
         PaintWay::Composed},
        {"3840x2160 all changing, scale 2: 9,216 cells of 30 x 30", {9216, 900, 1, 3840 * 2160}, PaintWay::Cells},
        {"3840x2160 all changing, scale 4: 2,304 cells of 60 x 60", {2304, 3600, 1, 3840 * 2160}, PaintWay::Cells},
        {"10-pixel cells everywhere, 82,944 of them", {82944, 100, 1, 3840 * 2160}, PaintWay::Composed},
        {"scattered cells, each its own rectangle", {5000, 100, 5000, 5000 * 100}, PaintWay::Cells},
        {"one cell", {1, 225, 1, 225}, PaintWay::Cells},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(Name(CheaperWay(c.tick)), Name(c.expected)) << c.scene;
    }
}

}  // namespace
