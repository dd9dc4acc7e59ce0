// An image in a window's pixel format, filled from an 8-bit frame through
// the palette's pixel values and sent to a drawable with XPutImage. It
// covers the part of the frame from 0, 0 that has its size.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <cstdint>

#include "display/indexed_image.h"
#include "display/paint_target.h"
#include "x11/x_connection_x11.h"

using PixelTable = std::array<uint32_t, 256>;

class VisualImage {
public:
    VisualImage(XConnection& connection, Visual* visual, int depth, ClientSize size);
    ~VisualImage();
    VisualImage(const VisualImage&) = delete;
    VisualImage& operator=(const VisualImage&) = delete;

    // Converts the pixels of rect in frame into the image. The rectangle
    // must lie inside both.
    void convert(const IndexedImage& frame, const PaintRect& rect, const PixelTable& pixels);
    // Sends what the image holds of rect to the same place on the drawable.
    void put(Drawable drawable, GC gc, const PaintRect& rect);

private:
    Display* display_;
    XImage* image_ = nullptr;
    bool direct32_ = false;  // 32 bits per pixel in our byte order: plain stores
};

// The picture of a whole frame (the sprite sheet) as a server-side pixmap.
Pixmap UploadPixmap(XConnection& connection, Visual* visual, int depth, const IndexedImage& frame,
                    const PixelTable& pixels);
