// Whole frames drawn by the World through the display hooks into an
// in-memory image, from a synthetic sheet whose every pixel tells where it
// came from.
#include <gtest/gtest.h>

#include <string>

#include "display/display_hooks.h"
#include "display/frame_target.h"
#include "display/sheet_geometry.h"
#include "scripted_random.h"
#include "world_builder.h"

namespace {

uint8_t SheetIndex(int x, int y) {
    const int v = ((x * 37) ^ (y * 101)) & 0xFF;
    return static_cast<uint8_t>(v == 0 ? 1 : v);  // never black
}

IndexedImage SyntheticSheet() {
    IndexedImage sheet(kSheetWidth, kSheetHeight);
    for (int y = 0; y < kSheetHeight; ++y) {
        for (int x = 0; x < kSheetWidth; ++x) {
            sheet.at(x, y) = SheetIndex(x, y);
        }
    }
    return sheet;
}

void PutSprite(IndexedImage& frame, int srcX, int srcY, int dstX, int dstY, int side) {
    for (int j = 0; j < side; ++j) {
        for (int i = 0; i < side; ++i) {
            frame.at(dstX + i, dstY + j) = SheetIndex(srcX + i, srcY + j);
        }
    }
}

// Index of the first differing pixel, or -1.
long FirstDifference(const IndexedImage& a, const IndexedImage& b) {
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        if (a.pixels[i] != b.pixels[i]) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

#define EXPECT_SAME_FRAME(expected, actual)                                                                       \
    do {                                                                                                          \
        const long at = FirstDifference(expected, actual);                                                        \
        EXPECT_EQ(-1, at) << "first difference at x " << at % (expected).width << ", y " << at / (expected).width \
                          << ": expected " << int((expected).pixels[at < 0 ? 0 : at]) << ", got "                 \
                          << int((actual).pixels[at < 0 ? 0 : at]);                                               \
    } while (0)

class FramePainting : public ::testing::Test {
protected:
    // Cells of 20 pixels; a 73 x 51 window holds 3 x 2 with strips of 13 and 11.
    FramePainting()
        : frame(73, 51, 0), target(frame, &sheet), hooks(world, settings, effective, target, target.clientSize()) {
        settings = DefaultSettings();
        settings.Generations = 1000;
        settings.Tovtov = OnOffRandom::Off;
        effective = EffectiveSettings{true, false, false, CellSize::Middle, false, SpeciesMode::One, 20, 20, 655};
        world.rules = RulesFor(settings, effective);
        world.setHooks(hooks);
    }

    IndexedImage sheet = SyntheticSheet();
    IndexedImage frame;
    FrameTarget target;
    Settings settings{};
    EffectiveSettings effective{};
    World world;
    DisplayHooks hooks;
};

constexpr int kNewbornY = 210;  // Middle without wriggle, band 0
constexpr int kMatureY = 230;   // species mode One

}  // namespace

TEST_F(FramePainting, NewbornsErasuresAndAGrownBlock) {
    // A row of three on the left of an 8 x 2 grid, a block on the right, in
    // a window with strips of 13 and 11 pixels.
    frame = IndexedImage(173, 51, 0);
    PlantWorld(world, {"###...##", "......##"});
    ScriptedRandom noDraws(world);

    world.step();
    IndexedImage expected(173, 51, 0);
    for (int x : {0, 1, 2, 6, 7}) {
        PutSprite(expected, 240, kNewbornY, x * 20, 0, 20);
    }
    for (int x : {6, 7}) {
        PutSprite(expected, 240, kNewbornY, x * 20, 20, 20);
    }
    EXPECT_SAME_FRAME(expected, frame);

    // The row's ends die and the cell below its middle is born.
    world.step();
    for (int x : {0, 2}) {
        for (int j = 0; j < 20; ++j) {
            for (int i = 0; i < 20; ++i) {
                expected.at(x * 20 + i, j) = 0;
            }
        }
    }
    PutSprite(expected, 240, kNewbornY, 20, 20, 20);
    EXPECT_SAME_FRAME(expected, frame);

    // The last two left cells die next and are erased; the block, alive
    // since the seeding, turns grown in its sixteenth generation.
    for (int g = 3; g <= 16; ++g) {
        world.step();
    }
    expected = IndexedImage(173, 51, 0);
    for (int x : {6, 7}) {
        for (int y : {0, 1}) {
            PutSprite(expected, 240, kMatureY, x * 20, y * 20, 20);
        }
    }
    EXPECT_SAME_FRAME(expected, frame);
}

TEST_F(FramePainting, WriggleFramesInEveryGenerationAndTheStrips) {
    effective = EffectiveSettings{false, true, false, CellSize::Middle, false, SpeciesMode::Three, 30, 30, 28};
    world.rules = RulesFor(settings, effective);
    frame = IndexedImage(73, 51, 9);  // 2 x 1 cells of 30, strips of 13 and 21
    PlantWorld(world, {"24"});
    for (int x = 1; x <= 2; ++x) {
        world.cellAt(x, 1).history = 0x7FFFu;  // grown from the next generation
    }
    ScriptedRandom random(world, {5, 2}, 0);  // first frames 5 and 2, then up
    world.step();
    IndexedImage expected(73, 51, 9);
    // The history was one short of 16 in that step: nothing drawn.
    EXPECT_SAME_FRAME(expected, frame);

    world.step();
    PutSprite(expected, 150, BandTop[1] + 180, 0, 0, 30);
    PutSprite(expected, 60, BandTop[3] + 180, 30, 0, 30);
    EXPECT_SAME_FRAME(expected, frame);

    world.step();
    PutSprite(expected, 180, BandTop[1] + 180, 0, 0, 30);
    PutSprite(expected, 90, BandTop[3] + 180, 30, 0, 30);
    EXPECT_SAME_FRAME(expected, frame);

    // A new world clears the whole window, strips included.
    hooks.ClearScreen();
    EXPECT_SAME_FRAME(IndexedImage(73, 51, 0), frame);
}

TEST_F(FramePainting, DeadWorldIsReplacedAndTheWindowCleared) {
    frame = IndexedImage(73, 51, 9);
    PlantWorld(world, {"#..", "..."});
    ScriptedRandom random(world, {}, 0);  // the new world: species 1, every cell dead
    world.step();                         // the lone cell is drawn and dies
    world.step();                         // it is erased, nothing lives: new world
    EXPECT_SAME_FRAME(IndexedImage(73, 51, 0), frame);
    EXPECT_EQ(3, world.width);
    EXPECT_EQ(2, world.height);
}

TEST_F(FramePainting, WithoutASheetOnlyTheFillsHappen) {
    FrameTarget noSheet(frame, nullptr);
    DisplayHooks blind(world, settings, effective, noSheet, noSheet.clientSize());
    world.setHooks(blind);
    frame = IndexedImage(73, 51, 9);
    PlantWorld(world, {"##.", "#.."});
    ScriptedRandom noDraws(world);
    world.step();  // three newborns, no copies possible
    EXPECT_SAME_FRAME(IndexedImage(73, 51, 9), frame);
    world.step();  // the L becomes a block: nothing dies, one is born
    EXPECT_SAME_FRAME(IndexedImage(73, 51, 9), frame);
    world.cellAt(1, 1).kill();
    world.cellAt(1, 1).history |= 2u;  // as if it had just died
    world.step();
    IndexedImage expected(73, 51, 9);
    for (int j = 0; j < 20; ++j) {
        for (int i = 0; i < 20; ++i) {
            expected.at(i, j) = 0;
        }
    }
    EXPECT_SAME_FRAME(expected, frame);
}

TEST(FrameTargetClipping, CopiesAndFillsStayInsideBothImages) {
    IndexedImage source(4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            source.at(x, y) = static_cast<uint8_t>(10 * y + x + 1);
        }
    }
    IndexedImage frame(5, 4, 0);
    FrameTarget target(frame, &source);
    target.copy(2, 1, 3, 2, 4, 4);   // clipped by both images to 2 x 2
    target.copy(-1, 0, 0, 0, 2, 1);  // the pixel from x -1 does not exist
    target.fillBlack({4, 3, 9, 9});
    const IndexedImage expectedFrame = [] {
        IndexedImage e(5, 4, 0);
        e.at(3, 2) = 13;
        e.at(4, 2) = 14;
        e.at(3, 3) = 23;
        e.at(1, 0) = 1;
        return e;
    }();
    EXPECT_SAME_FRAME(expectedFrame, frame);
}

// Copies from a source enlarged as it is copied, starting part-way into an
// enlarged pixel and cut by every edge of both images, against each frame
// pixel worked out on its own.
TEST(FrameTargetClipping, EnlargedCopiesStartAnywhereAndStayInsideBothImages) {
    struct Copy {
        int srcX, srcY, dstX, dstY, width, height;
    };
    const Copy copies[] = {
        {1, 2, 3, 1, 7, 5},     // inside, off the enlarged pixels' grid
        {2, 1, -3, -2, 8, 7},   // over the frame's left and top edges
        {4, 5, 13, 10, 9, 9},   // over its right and bottom edges
        {-2, -1, 5, 6, 6, 5},   // from before the source's start
        {13, 9, 8, 2, 7, 6},    // past the source's end at scale 3 and 4
        {0, 0, 17, 0, 3, 3},    // wholly right of the frame
        {-10, 0, 0, 0, 5, 5},   // wholly left of the source
        {5, 7, 0, 12, 40, 40},  // the frame's last row
    };
    IndexedImage source(5, 4);
    for (size_t i = 0; i < source.pixels.size(); ++i) {
        source.pixels[i] = static_cast<uint8_t>(i + 1);
    }
    for (const int scale : {1, 2, 3, 4}) {
        IndexedImage frame(17, 13, 0x77);
        IndexedImage expected = frame;
        FrameTarget target(frame, &source, scale);
        for (const Copy& c : copies) {
            target.copy(c.srcX, c.srcY, c.dstX, c.dstY, c.width, c.height);
            for (int j = 0; j < c.height; ++j) {
                for (int i = 0; i < c.width; ++i) {
                    const int x = c.dstX + i;
                    const int y = c.dstY + j;
                    const int sx = c.srcX + i;
                    const int sy = c.srcY + j;
                    if (x >= 0 && y >= 0 && x < frame.width && y < frame.height && sx >= 0 && sy >= 0 &&
                        sx < source.width * scale && sy < source.height * scale) {
                        expected.at(x, y) = source.at(sx / scale, sy / scale);
                    }
                }
            }
            SCOPED_TRACE("scale " + std::to_string(scale) + ", copy to " + std::to_string(c.dstX) + ", " +
                         std::to_string(c.dstY));
            EXPECT_SAME_FRAME(expected, frame);
        }
    }
}
