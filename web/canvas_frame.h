// The page's own paint target. The painter draws (through a ScaledTarget)
// into an 8-bit frame of palette indices at the canvas's device size; what
// each tick changed is recorded, merged into a few rectangles and only
// those are converted to the RGBA picture the canvas is given, so a tick
// costs what it changed, in the conversion and in the upload.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "display/changed_area.h"
#include "display/indexed_image.h"
#include "display/paint_target.h"

// Colours as the canvas takes them: R, G, B, A in memory order.
using RgbaPalette = std::array<uint32_t, 256>;

// The largest picture the page makes. A canvas may be 32,767 pixels a side
// and 268,435,456 in all (Chromium's limits); the module keeps 5 bytes a
// pixel (the 8-bit frame and its RGBA copy) and gives them at most 512 MiB
// of its 2 GiB, since growing its memory copies it.
constexpr int kPictureSideLimit = 32767;
constexpr int64_t kCanvasPixelLimit = 268435456;
constexpr int64_t kPictureBytesPerPixel = sizeof(uint8_t) + sizeof(uint32_t);
constexpr int64_t kPicturePixelLimit =
    std::min<int64_t>(kCanvasPixelLimit, (int64_t{512} << 20) / kPictureBytesPerPixel);

// The device size within the limits and within pixelLimit pixels: each side
// at least 1, and a larger size shrunk by one factor both ways, so that the
// canvas stretched over the window keeps square pixels.
ClientSize CappedPicture(ClientSize device, int64_t pixelLimit = kPicturePixelLimit);

class CanvasFrame final : public PaintTarget {
public:
    // The sheet copies come from (kept, not copied), whose pixels become
    // scale x scale device pixels as they are copied.
    void setSheet(const IndexedImage* sheet, int scale) {
        sheet_ = sheet;
        sheetScale_ = scale;
    }
    // Black at the new size, all of it to be shown; the old picture is let
    // go of first, so that both are never held at once.
    void resize(ClientSize device);

    // Brackets one tick; endTick converts what changed and returns the
    // rectangles to upload (empty when nothing changed).
    void beginTick();
    const std::vector<PaintRect>& endTick(const RgbaPalette& palette);

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return {frame_.width, frame_.height}; }

    const IndexedImage& frame() const { return frame_; }
    // What the last endTick returned.
    const std::vector<PaintRect>& shown() const { return shown_; }
    // width x height RGBA pixels, top row first.
    const uint32_t* rgba() const { return rgba_.data(); }

private:
    IndexedImage frame_;
    std::vector<uint32_t> rgba_;
    const IndexedImage* sheet_ = nullptr;
    int sheetScale_ = 1;
    ChangedArea changed_;
    std::vector<PaintRect> shown_;
};
