// Draws into an in-memory 8-bit frame of palette indices, copying from a
// source image such as the decoded sprite sheet. Index 0 is black. Copies
// and fills are clipped to both images, as a device context clips them.
#pragma once

#include "display/indexed_image.h"
#include "display/paint_target.h"

class FrameTarget final : public PaintTarget {
public:
    // Without a source every copy is skipped, as in a saver with no sheet.
    FrameTarget(IndexedImage& frame, const IndexedImage* source) : frame_(frame), source_(source) {}

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return {frame_.width, frame_.height}; }

private:
    IndexedImage& frame_;
    const IndexedImage* source_;
};
