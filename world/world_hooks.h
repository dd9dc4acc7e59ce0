// What the World needs from the display: the painter's two per-cell calls
// and the two calls that end a world. The display implements it; tests
// record the calls.
#pragma once

struct Cell;

class WorldHooks {
public:
    // Each step calls these in row order, before the histories age: for
    // every live cell, and for every dead cell that was alive in the
    // generation before (bit 1 of its history set). A cell dead in both has
    // nothing to draw or erase and gets no call.
    virtual void PaintLiveCell(Cell& cell) = 0;
    virtual void PaintDeadCell(Cell& cell) = 0;
    virtual void NewWorld() = 0;
    virtual void ClearScreen() = 0;

protected:
    ~WorldHooks() = default;
};
