// Draws each generation's changes: a newborn sprite at birth, a grown sprite
// after sixteen generations (every generation while wriggling), and black
// where a cell has just died. Nothing is kept off screen: the target
// accumulates the picture between clears.
#pragma once

#include "display/effective_settings.h"
#include "display/paint_target.h"
#include "world/cell.h"

class CellPainter {
public:
    CellPainter(const EffectiveSettings& settings, PaintTarget& target) : settings_(settings), target_(target) {}

    void PaintLiveCell(Cell& cell);
    void PaintDeadCell(const Cell& cell);
    void ClearScreen();

    void DrawNewborn(int column, int row, int band);
    void DrawMature(int column, int row, int frame, int stage, int band);
    void EraseCell(int column, int row);

    // One draw each. The frame turns one step either way, 7 and 0 joined;
    // the phase walks up or down and stops at 0 and 11.
    static void StepWriggleFrame(Cell& cell);
    static void StepShrinkPhase(Cell& cell);

private:
    void copyToCell(int srcX, int srcY, int column, int row);

    const EffectiveSettings& settings_;
    PaintTarget& target_;
};
