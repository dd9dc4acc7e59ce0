// Draws into an in-memory 8-bit frame of palette indices, copying from a
// source image such as the decoded sprite sheet. Index 0 is black. Copies
// and fills are clipped to both images, as a device context clips them.
#pragma once

#include "display/indexed_image.h"
#include "display/paint_target.h"

class FrameTarget final : public PaintTarget {
public:
    // Without a source every copy is skipped, as in a saver with no sheet.
    // Copies name the source enlarged by sourceScale, which is enlarged as
    // it is copied (a ScaledTarget in front hands copies so), never held
    // enlarged.
    FrameTarget(IndexedImage& frame, const IndexedImage* source, int sourceScale = 1)
        : frame_(frame), source_(source), sourceScale_(sourceScale) {}

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return {frame_.width, frame_.height}; }

private:
    IndexedImage& frame_;
    const IndexedImage* source_;
    int sourceScale_;
};
