// A tick's painting recorded before it is drawn, so that a buffer being
// repaired is not first given what the tick paints over anyway. Copies and
// fills are opaque: where one covers a whole rectangle, what was there
// before does not matter. Portable.
#pragma once

#include <cstddef>
#include <unordered_set>
#include <vector>

#include "display/paint_target.h"

class RecordedTick final : public PaintTarget {
public:
    // size: the picture's; sheet: the size the copies read from (an
    // enlarged sheet's), since a copy reaching past it paints only part of
    // its rectangle.
    RecordedTick(ClientSize size, ClientSize sheet) : size_(size), sheet_(sheet) {}

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return size_; }

    // True when one recorded operation paints all of rect.
    bool covers(const PaintRect& rect) const;
    // Paints what was recorded, in order.
    void replay(PaintTarget& target) const;

private:
    struct Operation {
        bool fill;
        int srcX, srcY;
        PaintRect rect;
    };
    struct RectHash {
        size_t operator()(const PaintRect& r) const;
    };
    struct RectEqual {
        bool operator()(const PaintRect& a, const PaintRect& b) const {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        }
    };
    void painted(const PaintRect& rect);

    ClientSize size_;
    ClientSize sheet_;
    std::vector<Operation> operations_;
    // Cells paint the same rectangles tick after tick: those are looked up
    // as they are; the few large ones (a clear) are searched.
    std::unordered_set<PaintRect, RectHash, RectEqual> whole_;
    std::vector<PaintRect> large_;
};
