// A recorded tick replays as painted directly, and says it covers a
// rectangle only where its own painting decides every pixel: the same
// picture whatever was there before. Rectangles are asked in painting
// order, as a repair asks them.
#include "wayland/recorded_tick.h"

#include <gtest/gtest.h>

#include "display/frame_target.h"

namespace {

struct Op {
    bool fill;
    int srcX, srcY, dstX, dstY, width, height;
};

void Paint(PaintTarget& target, const Op& op) {
    if (op.fill) {
        target.fillBlack({op.dstX, op.dstY, op.dstX + op.width, op.dstY + op.height});
    } else {
        target.copy(op.srcX, op.srcY, op.dstX, op.dstY, op.width, op.height);
    }
}

struct Query {
    PaintRect rect;
    bool covered;
    const char* why;
};

TEST(RecordedTick, ReplaysAsPaintedAndCoversOnlyWhatItDecides) {
    IndexedImage sheet(30, 20);
    for (size_t i = 0; i < sheet.pixels.size(); ++i) {
        sheet.pixels[i] = static_cast<uint8_t>(1 + i % 200);
    }
    const ClientSize size{600, 400};
    const Op ops[] = {
        {false, 0, 0, 10, 10, 10, 10},     // a cell
        {false, 25, 15, 40, 10, 10, 10},   // a copy reaching past the sheet
        {true, 0, 0, 60, 10, 10, 10},      // an erased cell
        {false, 5, 5, 80, 12, 6, 6},       // a ball smaller than its cell
        {true, 0, 0, 300, 100, 300, 300},  // a large fill
        {false, 0, 0, 305, 105, 10, 10},   // a cell over it
    };
    const Query queries[] = {
        {{10, 10, 20, 20}, true, "the cell's own rectangle"},
        {{10, 10, 20, 20}, false, "the same again: already passed"},
        {{40, 10, 50, 20}, false, "the copy past the sheet leaves part of it"},
        {{60, 10, 70, 20}, true, "the erased cell"},
        {{80, 10, 90, 20}, false, "the cell around the smaller ball"},
        {{80, 12, 86, 18}, true, "the ball's own rectangle"},
        {{320, 200, 330, 210}, true, "inside the large fill"},
        {{290, 200, 310, 210}, false, "half outside the large fill"},
        {{305, 105, 315, 115}, true, "the cell over the large fill"},
        {{12, 12, 18, 18}, false, "inside a cell: not looked for, repaired to be safe"},
        {{100, 100, 110, 110}, false, "nothing painted there"},
    };
    RecordedTick recorded;
    recorded.reset({1, 1}, {1, 1});
    recorded.fillBlack({0, 0, 1, 1});  // forgotten by the reset below
    recorded.reset(size, {sheet.width, sheet.height});
    IndexedImage direct(size.width, size.height, 7);
    FrameTarget directTarget(direct, &sheet);
    for (const Op& op : ops) {
        Paint(recorded, op);
        Paint(directTarget, op);
    }
    IndexedImage replayed(size.width, size.height, 7);
    FrameTarget replayedTarget(replayed, &sheet);
    recorded.replay(replayedTarget);
    EXPECT_TRUE(direct.pixels == replayed.pixels);

    // Over another picture: a covered rectangle comes out the same.
    IndexedImage other(size.width, size.height, 250);
    FrameTarget otherTarget(other, &sheet);
    recorded.replay(otherTarget);
    RecordedTick::Cover cover(recorded);
    for (const Query& query : queries) {
        EXPECT_EQ(query.covered, cover.covers(query.rect)) << query.why;
        for (int y = query.rect.top; query.covered && y < query.rect.bottom; ++y) {
            for (int x = query.rect.left; x < query.rect.right; ++x) {
                ASSERT_EQ(replayed.at(x, y), other.at(x, y))
                    << query.why << ": covered, yet the picture before shows through at " << x << "," << y;
            }
        }
    }
}

}  // namespace
