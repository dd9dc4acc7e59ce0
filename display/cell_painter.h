// Draws each generation's changes: a newborn sprite at birth, a grown sprite
// after sixteen generations (every generation while wriggling), and black
// where a cell has just died. Nothing is kept off screen: the target
// accumulates the picture between clears.
#pragma once

#include "display/effective_settings.h"
#include "display/paint_target.h"
#include "world/cell.h"
#include "world/random_source.h"

class CellPainter {
public:
    // The wriggle and shrink steps draw from random. Without a target, one
    // must be set before anything is painted.
    CellPainter(const EffectiveSettings& settings, RandomSource& random) : settings_(settings), random_(random) {}
    CellPainter(const EffectiveSettings& settings, PaintTarget& target, RandomSource& random)
        : settings_(settings), random_(random), target_(&target) {}

    void setTarget(PaintTarget& target) { target_ = &target; }

    void PaintLiveCell(Cell& cell);
    void PaintDeadCell(const Cell& cell);
    // The whole client area black, strips included.
    void ClearScreen(ClientSize client);

    void DrawNewborn(int column, int row, int band);
    void DrawMature(int column, int row, int frame, int stage, int band);
    void EraseCell(int column, int row);

    // One draw each. The frame turns one step either way, 7 and 0 joined;
    // the phase walks up or down and stops at 0 and 11.
    static void StepWriggleFrame(Cell& cell, RandomSource& random);
    static void StepShrinkPhase(Cell& cell, RandomSource& random);

private:
    void copyToCell(int srcX, int srcY, int column, int row);

    const EffectiveSettings& settings_;
    RandomSource& random_;
    PaintTarget* target_ = nullptr;
};
