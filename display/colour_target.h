// Draws into a 32-bit picture (0x00RRGGBB, top row first) from a copy of the
// sprite sheet already in those colours, made once, so that what a tick
// draws needs no conversion before it is shown. Records what each tick
// changed. A scaled display wraps it in a ScaledTarget and tells it the
// scale, by which it enlarges the sheet as it copies (an enlarged copy of
// the sheet would be 65 MB at scale 4).
#pragma once

#include <cstdint>
#include <vector>

#include "display/changed_area.h"
#include "display/indexed_image.h"
#include "display/packed_dib.h"
#include "display/paint_target.h"

// Pixels owned elsewhere (a DIB section's bits), width per row.
struct ColourView {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

struct ColourImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Colour for each index (missing ones black) as 0x00RRGGBB.
using ColourTable = std::vector<uint32_t>;

// A decoded sheet's palette as a ColourTable.
ColourTable ColoursOf(const std::vector<RgbColor>& palette);

// image with each index replaced by its colour; indices beyond the table
// become black.
ColourImage InColours(const IndexedImage& image, const ColourTable& colours);

class ColourTarget final : public PaintTarget {
public:
    // Without a source every copy is skipped, as in a saver with no sheet.
    // Copies and fills are clipped to both images, as a device context clips
    // them; what they touch is recorded clipped to the picture. Copies name
    // the source enlarged by sourceScale.
    ColourTarget(ColourView frame, const ColourImage* source, int sourceScale = 1);

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return {frame_.width, frame_.height}; }

    const ChangedArea& changed() const { return changed_; }

private:
    ColourView frame_;
    const ColourImage* source_;
    int sourceScale_;
    ChangedArea changed_;
};
