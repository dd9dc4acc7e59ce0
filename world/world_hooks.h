// What the World needs from the display: the painter's two per-cell calls
// and the two calls that end a world. The display implements it; tests
// record the calls.
#pragma once

struct Cell;

class WorldHooks {
public:
    virtual void PaintLiveCell(Cell& cell) = 0;
    virtual void PaintDeadCell(Cell& cell) = 0;
    virtual void NewWorld() = 0;
    virtual void ClearScreen() = 0;

protected:
    ~WorldHooks() = default;
};
