// Draws into a 32-bit picture (0x00RRGGBB, top row first) straight from the
// 8-bit sprite sheet and its colours, reading the sheet as if each of its
// pixels were sheetScale x sheetScale: under a ScaledTarget it needs no
// enlarged or converted copy of the sheet (65 MB at scale 4), only the sheet
// itself. Records what each tick changed, clipped to the picture.
#pragma once

#include <array>
#include <cstdint>

#include "display/changed_area.h"
#include "display/colour_target.h"
#include "display/indexed_image.h"
#include "display/packed_dib.h"
#include "display/paint_target.h"

// The sheet's palette as 0x00RRGGBB, for InColours and PaletteTarget.
ColourTable ColoursOf(const std::vector<RgbColor>& palette);

class PaletteTarget final : public PaintTarget {
public:
    // sheet and colours stay owned by the caller; without a sheet every copy
    // is skipped, as in a saver with no sheet.
    PaletteTarget(ColourView frame, const IndexedImage* sheet, const ColourTable* colours, int sheetScale);

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return {frame_.width, frame_.height}; }

    const ChangedArea& changed() const { return changed_; }
    // Starts a new record, as each tick begins.
    void forgetChanges() { changed_.reset(clientSize()); }

private:
    ColourView frame_;
    const IndexedImage* sheet_;
    std::array<uint32_t, 256> colours_{};  // every index has one: no bounds check per pixel
    int scale_;
    ChangedArea changed_;
};
