#include "display/colour_target.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "display/clipped_copy.h"

namespace {

// Black in pieces as CopyRow copies.
void BlackRow(uint32_t* to, size_t n) {
    if (n > kLibraryRow) {
        std::memset(to, 0, n * sizeof *to);
        return;
    }
    for (; n >= 4; n -= 4, to += 4) {
        std::memset(to, 0, 4 * sizeof *to);
    }
    for (; n > 0; --n) {
        *to++ = 0;
    }
}

}  // namespace

ColourTable ColoursOf(const std::vector<RgbColor>& palette) {
    ColourTable colours;
    colours.reserve(palette.size());
    for (const RgbColor& c : palette) {
        colours.push_back((uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue);
    }
    return colours;
}

ColourImage InColours(const IndexedImage& image, const ColourTable& colours) {
    ColourImage converted{image.width, image.height, std::vector<uint32_t>(image.pixels.size())};
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const uint8_t index = image.pixels[i];
        converted.pixels[i] = index < colours.size() ? colours[index] : 0;
    }
    return converted;
}

ColourTarget::ColourTarget(ColourView frame, const ColourImage* source, int sourceScale)
    : frame_(frame), source_(source), sourceScale_(sourceScale) {
    changed_.reset(clientSize());
}

void ColourTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    changed_.add({dstX, dstY, dstX + width, dstY + height});
    if (!source_) {
        return;
    }
    CopyClippedEnlarged(source_->pixels.data(), {source_->width, source_->height}, sourceScale_, frame_.pixels,
                        {frame_.width, frame_.height}, srcX, srcY, dstX, dstY, width, height);
}

void ColourTarget::fillBlack(const PaintRect& rect) {
    changed_.add(rect);
    PaintRect clipped;
    if (!ClipToClient(rect, clientSize(), &clipped)) {
        return;
    }
    const auto stride = static_cast<size_t>(frame_.width);
    uint32_t* row = frame_.pixels + static_cast<size_t>(clipped.top) * stride + clipped.left;
    for (int y = clipped.top; y < clipped.bottom; ++y, row += stride) {
        BlackRow(row, static_cast<size_t>(clipped.right - clipped.left));
    }
}
