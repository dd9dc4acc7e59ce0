// An image in a window's pixel format, filled from an 8-bit frame through
// the palette's pixel values and sent to a drawable. It covers the part of
// the frame that starts at origin and has its size. In shared memory
// (MIT-SHM) when asked and the server allows it, so that sending copies
// nothing through the socket; otherwise in our memory, sent by XPutImage.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <array>
#include <cstdint>

#include "display/indexed_image.h"
#include "display/paint_target.h"
#include "x11/x_connection_x11.h"

using PixelTable = std::array<uint32_t, 256>;

class VisualImage {
public:
    VisualImage(XConnection& connection, Visual* visual, int depth, ClientSize size, bool sharedMemory, int originX = 0,
                int originY = 0);
    ~VisualImage();
    VisualImage(const VisualImage&) = delete;
    VisualImage& operator=(const VisualImage&) = delete;

    bool shared() const { return shared_; }
    ClientSize size() const { return size_; }

    // Converts the pixels of rect in frame into the image. The rectangle
    // must lie inside both.
    void convert(const IndexedImage& frame, const PaintRect& rect, const PixelTable& pixels);
    // Sends what the image holds of rect to the same place on the drawable. A shared
    // image may be read by the server until the next round trip, so convert
    // nothing into it before XSync.
    void put(Drawable drawable, GC gc, const PaintRect& rect);

private:
    bool attachShared(Visual* visual, int depth);

    Display* display_;
    XConnection& connection_;
    ClientSize size_;
    int originX_;
    int originY_;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    bool shared_ = false;
    bool direct32_ = false;  // 32 bits per pixel in our byte order: plain stores
};

// The picture of a whole frame (the sprite sheet) as a server-side pixmap.
Pixmap UploadPixmap(XConnection& connection, Visual* visual, int depth, const IndexedImage& frame,
                    const PixelTable& pixels);
