// A tick's painting recorded before it is drawn, so that a buffer being
// repaired is not first given what the tick paints over anyway. Copies and
// fills are opaque: where one covers a whole rectangle, what was there
// before does not matter. Portable.
#pragma once

#include <cstddef>
#include <vector>

#include "display/paint_target.h"

class RecordedTick final : public PaintTarget {
public:
    // Forgets the last tick, keeping its memory. size: the picture's;
    // sheet: the size copies read from (an enlarged sheet's), since a copy
    // reaching past it paints only part of its rectangle.
    void reset(ClientSize size, ClientSize sheet);

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return size_; }

    // Whether the tick paints all of each rectangle, asked in the order the
    // last tick painted them: the cells paint in the same order tick after
    // tick, so each is looked for a few places on from the one found last.
    // A rectangle not found is said not to be covered (a copy too many,
    // never one too few).
    class Cover {
    public:
        explicit Cover(const RecordedTick& tick) : tick_(tick) {}
        bool covers(const PaintRect& rect);

    private:
        const RecordedTick& tick_;
        size_t next_ = 0;
    };

    // Paints what was recorded, in order.
    void replay(PaintTarget& target) const;

private:
    struct Operation {
        bool fill;
        int srcX, srcY;
        PaintRect rect;
    };
    void painted(const PaintRect& rect);

    ClientSize size_{0, 0};
    ClientSize sheet_{0, 0};
    std::vector<Operation> operations_;
    std::vector<PaintRect> whole_;  // rectangles painted whole, in order
    std::vector<PaintRect> large_;  // the few large ones (a clear), searched
};
