// A paint target that records every copy and fill, for checking what the
// painter draws and in which order.
#pragma once

#include <ostream>
#include <vector>

#include "display/paint_target.h"

struct PaintOp {
    char kind;                                  // 'C' copy, 'F' fill
    int srcX, srcY, dstX, dstY, width, height;  // a fill uses dst and size

    bool operator==(const PaintOp& o) const {
        return kind == o.kind && srcX == o.srcX && srcY == o.srcY && dstX == o.dstX && dstY == o.dstY &&
               width == o.width && height == o.height;
    }
};

inline PaintOp Copy(int srcX, int srcY, int dstX, int dstY, int w, int h) {
    return {'C', srcX, srcY, dstX, dstY, w, h};
}
inline PaintOp Fill(int left, int top, int right, int bottom) {
    return {'F', 0, 0, left, top, right - left, bottom - top};
}

inline std::ostream& operator<<(std::ostream& out, const PaintOp& op) {
    if (op.kind == 'C') {
        return out << "copy from " << op.srcX << "," << op.srcY << " to " << op.dstX << "," << op.dstY << " size "
                   << op.width << "x" << op.height;
    }
    return out << "fill " << op.dstX << "," << op.dstY << " size " << op.width << "x" << op.height;
}

class RecordingTarget final : public PaintTarget {
public:
    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override {
        ops.push_back(Copy(srcX, srcY, dstX, dstY, width, height));
    }
    void fillBlack(const PaintRect& r) override { ops.push_back(Fill(r.left, r.top, r.right, r.bottom)); }
    ClientSize clientSize() override { return client; }

    std::vector<PaintOp> take() {
        std::vector<PaintOp> out;
        out.swap(ops);
        return out;
    }

    std::vector<PaintOp> ops;
    ClientSize client{0, 0};
};
