// A client-side image of a window's size in its pixel format (32 bits a
// pixel), shared with the X server through MIT-SHM where the server offers it
// (else sent with XPutImage), into which a tick's changed cells are composed
// and then sent as a few rectangles.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>

#include "display/paint_target.h"
#include "x11/x_connection_x11.h"

class ComposedImage {
public:
    ComposedImage(XConnection& connection, Visual* visual, int depth, ClientSize size);
    ~ComposedImage();
    ComposedImage(const ComposedImage&) = delete;
    ComposedImage& operator=(const ComposedImage&) = delete;

    // False when no image of 32 bits a pixel in our byte order could be made.
    bool usable() const { return image_ != nullptr; }
    // Row y, to write into, and the rows below it at stride() apart; waits
    // first until the server has read what the last put() sent.
    uint32_t* row(int y) {
        if (unread_) {
            waitUntilRead();
        }
        return reinterpret_cast<uint32_t*>(image_->data + static_cast<size_t>(y) * image_->bytes_per_line);
    }
    size_t stride() const { return static_cast<size_t>(image_->bytes_per_line) / sizeof(uint32_t); }
    // Sends rect of the image to the same place on the drawable.
    void put(Drawable drawable, GC gc, const PaintRect& rect);

private:
    void waitUntilRead();

    XConnection& connection_;
    Display* display_;
    XImage* image_ = nullptr;
    XShmSegmentInfo shm_{};
    bool shared_ = false;
    bool unread_ = false;  // put() since the last wait
};
