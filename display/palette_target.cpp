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
    : frame_(frame), sheet_(sheet), scale_(sheetScale) {
    if (colours) {
        std::copy_n(colours->begin(), std::min(colours->size(), colours_.size()), colours_.begin());
    }
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
    const auto stride = static_cast<size_t>(frame_.width);
    const auto run = static_cast<size_t>(endX - firstX);
    const uint32_t* previous = nullptr;
    for (int j = firstY; j < endY; ++j) {
        uint32_t* to = frame_.pixels + static_cast<size_t>(dstY + j) * stride + dstX + firstX;
        const int sheetY = (srcY + j) / scale_;
        // The rows an enlarged sheet row becomes are all alike.
        if (previous && sheetY == (srcY + j - 1) / scale_) {
            std::memcpy(to, previous, run * sizeof *to);
            previous = to;
            continue;
        }
        const uint8_t* from = &sheet_->pixels[static_cast<size_t>(sheetY) * sheet_->width];
        const int first = srcX + firstX;
        if (scale_ == 1) {
            for (size_t x = 0; x < run; ++x) {
                to[x] = colours_[from[first + static_cast<int>(x)]];
            }
        } else {
            // Each sheet pixel looked up once and written scale times.
            int sheetX = first / scale_;
            int phase = first % scale_;
            uint32_t colour = colours_[from[sheetX]];
            for (size_t x = 0;;) {
                to[x] = colour;
                if (++x == run) {
                    break;
                }
                if (++phase == scale_) {
                    phase = 0;
                    colour = colours_[from[++sheetX]];
                }
            }
        }
        previous = to;
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
