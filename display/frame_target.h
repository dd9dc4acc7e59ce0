// Draws into an in-memory 8-bit frame of palette indices, copying from a
// source image such as the decoded sprite sheet. Index 0 is black. Copies
// and fills are clipped to both images, as a device context clips them.
#pragma once

#include "display/indexed_image.h"
#include "display/paint_target.h"

class FrameTarget final : public PaintTarget {
public:
    // Without a source every copy is skipped, as in a saver with no sheet.
    // An image frame may be given a new size between ticks.
    FrameTarget(IndexedImage& frame, const IndexedImage* source) : image_(&frame), source_(source) {}
    FrameTarget(IndexedRows frame, const IndexedImage* source) : rows_(frame), source_(source) {}

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override {
        const IndexedRows frame = rows();
        return {frame.width, frame.height};
    }

private:
    IndexedRows rows() const;

    IndexedImage* image_ = nullptr;  // when drawing into an image, else rows_
    IndexedRows rows_;
    const IndexedImage* source_;
};
