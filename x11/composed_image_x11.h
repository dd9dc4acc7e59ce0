// A bounded buffer of pixels in a window's format (32 bits a pixel), shared
// with the X server through MIT-SHM where the server offers it (else sent
// with XPutImage), into which rectangles of a picture are composed one after
// another and sent. A rectangle larger than the buffer is sent in bands of
// rows; the buffer is reused once the server has read what it held.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstddef>
#include <cstdint>

#include "x11/x_connection_x11.h"

class ComposedImage {
public:
    // Room for `capacity` pixels, at least one row of the widest rectangle.
    ComposedImage(XConnection& connection, Visual* visual, int depth, size_t capacity);
    ~ComposedImage();
    ComposedImage(const ComposedImage&) = delete;
    ComposedImage& operator=(const ComposedImage&) = delete;

    // False when no image of 32 bits a pixel in our byte order could be made.
    bool usable() const { return image_ != nullptr; }
    // Whether the server reads the pixels from shared memory.
    bool shared() const { return shared_; }
    size_t capacity() const { return capacity_; }

    // Room for width x height pixels (at most capacity()), rows width apart,
    // to be filled and then sent with put(); waits first if the server may
    // still be reading that part of the buffer.
    uint32_t* area(int width, int height);
    // Sends the last area() to x, y on the drawable.
    void put(Drawable drawable, GC gc, int x, int y);

private:
    XConnection& connection_;
    Display* display_;
    XImage* image_ = nullptr;
    XShmSegmentInfo shm_{};
    bool shared_ = false;
    uint32_t* pixels_ = nullptr;
    size_t capacity_ = 0;
    size_t used_ = 0;      // pixels handed out since the server last caught up
    bool unread_ = false;  // put() since the last wait
};
