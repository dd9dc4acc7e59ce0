#include "display/cell_painter.h"

#include <gtest/gtest.h>

#include "display/display_hooks.h"
#include "display/sheet_geometry.h"
#include "recording_target.h"
#include "scripted_random.h"
#include "world_builder.h"

namespace {

using Ops = std::vector<PaintOp>;

EffectiveSettings Effective(CellSize size, bool wriggle, bool shrink = false, SpeciesMode mode = SpeciesMode::One) {
    EffectiveSettings e{};
    e.lifeRules = true;
    e.wriggle = wriggle;
    e.shrink = shrink;
    e.cellSize = size;
    e.speciesMode = mode;
    e.cellWidth = e.cellHeight = CellSide(size, wriggle);
    e.tickDelay = 28;
    return e;
}

Cell CellAt(int x, int y, uint8_t species, uint32_t history) {
    Cell cell;
    cell.x = x;
    cell.y = y;
    cell.species = species;
    cell.history = history;
    return cell;
}

// Runs one cell through `generations` generations of life from its birth,
// then one dead generation, and gives what each generation drew (index 0 is
// generation 1).
std::vector<Ops> LifeStory(CellPainter& painter, RecordingTarget& target, Cell& cell, int generations) {
    std::vector<Ops> story;
    uint32_t history = cell.history << 1;  // whatever came before, then the birth
    for (int g = 1; g <= generations + 1; ++g) {
        history = (history << 1) | (g <= generations ? 1u : 0u);
        cell.history = history;
        if (cell.alive()) {
            painter.PaintLiveCell(cell);
        } else {
            painter.PaintDeadCell(cell);
        }
        story.push_back(target.take());
    }
    return story;
}

}  // namespace

TEST(CellPainter, WriggleSourceAndDestination) {
    // Middle with wriggle: band 0, frame 3, stage 1 for the cell at 5, 2.
    const EffectiveSettings e = Effective(CellSize::Middle, true);
    RecordingTarget target;
    ScriptedRandom random({6});
    CellPainter painter(e, target, random);
    painter.DrawMature(4, 1, 3, 1, 0);
    EXPECT_EQ(Ops{Copy(90, 210, 120, 30, 30, 30)}, target.take());

    // The same sprite reached through the cell: alive 24 but not 32 gives
    // stage 1, and an even draw turns frame 2 on to 3.
    Cell cell = CellAt(5, 2, 1, 0x00FFFFFFu);
    cell.wriggleFrame = 2;
    painter.PaintLiveCell(cell);
    EXPECT_EQ(Ops{Copy(90, 210, 120, 30, 30, 30)}, target.take());
    EXPECT_EQ(3, cell.wriggleFrame);

    // Band 3, size 30, frame 5, stage 2.
    painter.DrawMature(0, 0, 5, 2, 3);
    EXPECT_EQ(Ops{Copy(150, 1185, 0, 0, 30, 30)}, target.take());
}

TEST(CellPainter, SingleSpriteSources) {
    RecordingTarget target;
    ScriptedRandom noDraws;
    {
        // Small without wriggle, species mode Three, species 4.
        const EffectiveSettings e = Effective(CellSize::Small, false, false, SpeciesMode::Three);
        CellPainter painter(e, target, noDraws);
        Cell grown = CellAt(3, 4, 4, 0x0000FFFFu);
        painter.PaintLiveCell(grown);
        Cell newborn = CellAt(1, 1, 4, 1u);
        painter.PaintLiveCell(newborn);
        EXPECT_EQ((Ops{Copy(120, 1250, 20, 30, 10, 10), Copy(120, 1230, 0, 0, 10, 10)}), target.take());
    }
    {
        // Species mode One, Big, species 1: the green ball of band 0.
        const EffectiveSettings e = Effective(CellSize::Big, false);
        CellPainter painter(e, target, noDraws);
        Cell grown = CellAt(2, 1, 1, 0x0000FFFFu);
        painter.PaintLiveCell(grown);
        painter.DrawNewborn(0, 0, 0);
        EXPECT_EQ((Ops{Copy(480, 100, 40, 0, 40, 40), Copy(480, 60, 0, 0, 40, 40)}), target.take());
    }
    {
        // Newborns with wriggle are drawn from the wriggle-size column.
        const Ops expected[3] = {Ops{Copy(120, 315 + 270, 0, 0, 15, 15)}, Ops{Copy(240, 315 + 180, 0, 0, 30, 30)},
                                 Ops{Copy(480, 315 + 0, 0, 0, 60, 60)}};
        for (int size = 0; size < 3; ++size) {
            const EffectiveSettings e = Effective(static_cast<CellSize>(size), true);
            CellPainter painter(e, target, noDraws);
            painter.DrawNewborn(0, 0, 1);
            EXPECT_EQ(expected[size], target.take()) << "size " << size;
        }
    }
}

TEST(CellPainter, EraseAndClear) {
    const EffectiveSettings e = Effective(CellSize::Middle, false);
    RecordingTarget target;
    target.client = {1013, 767};
    ScriptedRandom noDraws;
    CellPainter painter(e, target, noDraws);
    Cell justDied = CellAt(3, 2, 0, 0x2u);
    painter.PaintDeadCell(justDied);
    Cell longDead = CellAt(3, 2, 0, 0xFFFCu);
    painter.PaintDeadCell(longDead);
    painter.ClearScreen(target.client);
    EXPECT_EQ((Ops{Fill(40, 20, 60, 40), Fill(0, 0, 1013, 767)}), target.take());
}

TEST(CellPainter, LifeStoryWithoutWriggle) {
    const EffectiveSettings e = Effective(CellSize::Middle, false);
    RecordingTarget target;
    ScriptedRandom noDraws;
    CellPainter painter(e, target, noDraws);
    Cell cell = CellAt(2, 3, 2, 0);
    const std::vector<Ops> story = LifeStory(painter, target, cell, 40);
    for (int g = 1; g <= 41; ++g) {
        Ops expected;
        if (g == 1) {
            expected = {Copy(240, 315 + 210, 20, 40, 20, 20)};
        } else if (g == 16) {
            expected = {Copy(240, 315 + 230, 20, 40, 20, 20)};
        } else if (g == 41) {
            expected = {Fill(20, 40, 40, 60)};
        }
        EXPECT_EQ(expected, story[g - 1]) << "generation " << g;
    }
}

TEST(CellPainter, LifeStoryWithWriggleStretchesByAge) {
    const EffectiveSettings e = Effective(CellSize::Small, true);
    RecordingTarget target;
    ScriptedRandom random({3}, -1);
    CellPainter painter(e, target, random);
    // First frame from 3 mod 8, then down (odd) and up (even) alternately.
    for (int i = 0; i < 30; ++i) {
        random.push({i % 2 == 0 ? 1 : 2});
    }
    Cell cell = CellAt(1, 1, 1, 0);
    const std::vector<Ops> story = LifeStory(painter, target, cell, 40);
    for (int g = 1; g <= 41; ++g) {
        Ops expected;
        if (g == 1) {
            expected = {Copy(120, 270, 0, 0, 15, 15)};
        } else if (g >= 16 && g <= 40) {
            const int frame = (g - 16) % 2 == 0 ? 3 : 2;
            const int stage = g >= 32 ? 2 : g >= 24 ? 1 : 0;
            expected = {Copy(frame * 15, 270 + stage * 15, 0, 0, 15, 15)};
        } else if (g == 41) {
            expected = {Fill(0, 0, 15, 15)};
        }
        EXPECT_EQ(expected, story[g - 1]) << "generation " << g;
    }
    EXPECT_EQ(25u, random.draws());  // one frame draw per wriggling generation
}

TEST(CellPainter, LifeStoryWithShrinkFollowsThePhaseWalk) {
    const EffectiveSettings e = Effective(CellSize::Middle, true, true);
    RecordingTarget target;
    ScriptedRandom random;
    CellPainter painter(e, target, random);
    // Generations 16-23 draw only the frame; from 24 on, the frame and then
    // the phase. Frame draws are all 0 (start at 0, then up); phase draws
    // are even (up) until generation 39, then odd (down).
    for (int g = 16; g <= 23; ++g) {
        random.push({0});
    }
    for (int g = 24; g <= 45; ++g) {
        random.push({0, g < 40 ? 2 : 5});
    }
    Cell cell = CellAt(2, 1, 1, 0);
    cell.shrinkPhase = 2;  // carried over from an earlier life
    const std::vector<Ops> story = LifeStory(painter, target, cell, 45);
    int phase = 2;
    for (int g = 16; g <= 45; ++g) {
        int stage = 0;
        if (g >= 24) {
            phase = g < 40 ? std::min(phase + 1, 11) : std::max(phase - 1, 0);
            stage = phase / 4;
        }
        const int frame = (g - 16) % 8;
        EXPECT_EQ(Ops{Copy(frame * 30, 180 + stage * 30, 30, 0, 30, 30)}, story[g - 1]) << "generation " << g;
    }
    EXPECT_EQ(0u, random.unused());
    EXPECT_EQ(5, cell.shrinkPhase);  // 11 reached at 32, held, then six steps down
}

TEST(CellPainter, ShortLivesAndRebirth) {
    const EffectiveSettings e = Effective(CellSize::Middle, true);
    RecordingTarget target;
    ScriptedRandom noDraws;
    CellPainter painter(e, target, noDraws);
    // Alive exactly 15 generations: drawn at birth and erased when first dead.
    Cell cell = CellAt(1, 2, 1, 0);
    const std::vector<Ops> story = LifeStory(painter, target, cell, 15);
    for (int g = 1; g <= 16; ++g) {
        const Ops expected = g == 1 ? Ops{Copy(240, 180, 0, 30, 30, 30)} : g == 16 ? Ops{Fill(0, 30, 30, 60)} : Ops{};
        EXPECT_EQ(expected, story[g - 1]) << "generation " << g;
    }
    // A long-lived cell that dies and is born again at once gets the newborn
    // sprite, whatever its older bits say.
    Cell reborn = CellAt(1, 2, 1, (0xFFFFFFFFu << 2) | 1u);
    painter.PaintLiveCell(reborn);
    EXPECT_EQ(Ops{Copy(240, 180, 0, 30, 30, 30)}, target.take());
}

TEST(CellPainter, WriggleFrameAndShrinkPhaseBounds) {
    ScriptedRandom random({13, 2, 1, 7, 8, 5, 1, 4, 2, 3, 5});
    Cell cell;
    CellPainter::StepWriggleFrame(cell, random);  // not started: 13 mod 8
    EXPECT_EQ(5, cell.wriggleFrame);
    cell.wriggleFrame = 7;
    CellPainter::StepWriggleFrame(cell, random);  // even: up, past 7 to 0
    EXPECT_EQ(0, cell.wriggleFrame);
    CellPainter::StepWriggleFrame(cell, random);  // odd: down, below 0 to 7
    EXPECT_EQ(7, cell.wriggleFrame);
    CellPainter::StepWriggleFrame(cell, random);  // odd
    EXPECT_EQ(6, cell.wriggleFrame);
    CellPainter::StepWriggleFrame(cell, random);  // even
    EXPECT_EQ(7, cell.wriggleFrame);

    cell.shrinkPhase = 0;
    CellPainter::StepShrinkPhase(cell, random);  // odd: stays at 0
    EXPECT_EQ(0, cell.shrinkPhase);
    CellPainter::StepShrinkPhase(cell, random);  // odd
    EXPECT_EQ(0, cell.shrinkPhase);
    CellPainter::StepShrinkPhase(cell, random);  // even
    EXPECT_EQ(1, cell.shrinkPhase);
    cell.shrinkPhase = 11;
    CellPainter::StepShrinkPhase(cell, random);  // even: stays at 11
    EXPECT_EQ(11, cell.shrinkPhase);
    CellPainter::StepShrinkPhase(cell, random);  // odd
    EXPECT_EQ(10, cell.shrinkPhase);
    CellPainter::StepShrinkPhase(cell, random);
    EXPECT_EQ(9, cell.shrinkPhase);
    EXPECT_EQ(0u, random.unused());
}

TEST(CellPainter, FirstFrameIsUniformOverEightDraws) {
    int seen[8] = {};
    ScriptedRandom random;
    for (int32_t r = 32760; r < 32768; ++r) {
        random.push({r});
        Cell cell;
        CellPainter::StepWriggleFrame(cell, random);
        ASSERT_LT(cell.wriggleFrame, 8);
        ++seen[cell.wriggleFrame];
    }
    for (int f = 0; f < 8; ++f) {
        EXPECT_EQ(1, seen[f]) << "frame " << f;
    }
}

TEST(CellPainter, DrawsComeCellByCellFrameBeforePhase) {
    // A 2 x 2 world of grown, stretching cells, stepped through the display
    // hooks: each cell takes its frame draw and then its phase draw, in the
    // order the step visits the cells.
    World world;
    world.rules.lifeRules = false;
    PlantWorld(world, {"12", "34"});
    for (int y = 1; y <= 2; ++y) {
        for (int x = 1; x <= 2; ++x) {
            world.cellAt(x, y).history = 0x00FFFFFFu;
            world.cellAt(x, y).shrinkPhase = 5;
        }
    }
    EffectiveSettings e = Effective(CellSize::Small, true, true);
    e.lifeRules = false;
    RecordingTarget target;
    Settings settings = DefaultSettings();
    ScriptedRandom random(world, {10, 20, 11, 21, 12, 22, 13, 23});
    DisplayHooks hooks(world, settings, e, target, target.client);
    world.setHooks(hooks);

    world.step();
    const int frames[4] = {2, 3, 4, 5};
    const int phases[4] = {6, 4, 6, 4};
    const Ops ops = target.take();
    ASSERT_EQ(4u, ops.size());
    for (int i = 0; i < 4; ++i) {
        const Cell& cell = world.cellAt(i % 2 + 1, i / 2 + 1);
        EXPECT_EQ(frames[i], cell.wriggleFrame) << "cell " << i;
        EXPECT_EQ(phases[i], cell.shrinkPhase) << "cell " << i;
        const int band = i;  // species i + 1
        EXPECT_EQ(Copy(frames[i] * 15, BandTop[band] + 270 + phases[i] / 4 * 15, (i % 2) * 15, (i / 2) * 15, 15, 15),
                  ops[i]);
    }
    EXPECT_EQ(0u, random.unused());
}
