#include "display/palette_target.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

ColourTable ColoursOf(const std::vector<RgbColor>& palette) {
    ColourTable colours;
    colours.reserve(palette.size());
    for (const RgbColor& c : palette) {
        colours.push_back((uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue);
    }
    return colours;
}

PaletteTarget::PaletteTarget(ColourView frame, const IndexedImage* sheet, const ColourTable* colours, int sheetScale)
    : frame_(frame), sheet_(sheet), colours_(colours), scale_(sheetScale) {
    changed_.reset(clientSize());
}

void PaletteTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    changed_.add({dstX, dstY, dstX + width, dstY + height});
    if (!sheet_) {
        return;
    }
    // Offsets into the rectangle that lie inside both the (virtually
    // enlarged) sheet and the picture.
    const int firstX = std::max({0, -srcX, -dstX});
    const int firstY = std::max({0, -srcY, -dstY});
    const int endX = std::min({width, sheet_->width * scale_ - srcX, frame_.width - dstX});
    const int endY = std::min({height, sheet_->height * scale_ - srcY, frame_.height - dstY});
    if (firstX >= endX) {
        return;
    }
    const ColourTable& colours = *colours_;
    const auto stride = static_cast<size_t>(frame_.width);
    for (int j = firstY; j < endY; ++j) {
        const uint8_t* from = &sheet_->pixels[static_cast<size_t>((srcY + j) / scale_) * sheet_->width];
        uint32_t* to = frame_.pixels + static_cast<size_t>(dstY + j) * stride + dstX;
        // Each sheet pixel is looked up once and written scale times.
        int x = firstX;
        while (x < endX) {
            const int sheetX = (srcX + x) / scale_;
            const uint8_t index = from[sheetX];
            const uint32_t colour = index < colours.size() ? colours[index] : 0;
            const int runEnd = std::min(endX, (sheetX + 1) * scale_ - srcX);
            for (; x < runEnd; ++x) {
                to[x] = colour;
            }
        }
    }
}

void PaletteTarget::fillBlack(const PaintRect& rect) {
    changed_.add(rect);
    PaintRect clipped;
    if (!ClipToClient(rect, clientSize(), &clipped)) {
        return;
    }
    const auto stride = static_cast<size_t>(frame_.width);
    uint32_t* row = frame_.pixels + static_cast<size_t>(clipped.top) * stride + clipped.left;
    for (int y = clipped.top; y < clipped.bottom; ++y, row += stride) {
        std::memset(row, 0, static_cast<size_t>(clipped.right - clipped.left) * sizeof *row);
    }
}
