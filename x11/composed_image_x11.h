// A client-side image of a window's area in its pixel format (32 bits a
// pixel), shared with the X server through MIT-SHM where the server offers it
// (else sent with XPutImage), into which a tick's changed rectangles are
// composed, packed one after another, and then sent.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <vector>

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
    // Room for rect's pixels (rows of its width, one after another), packed
    // after the rectangles added since the last send(): a tick's few changed
    // pixels then lie in a few pages that stay in the cache, not spread over
    // a window-sized image. Waits first until the server has read what the
    // last send() sent. Null once the window's area is used up.
    uint32_t* add(const PaintRect& rect);
    // Sends each rectangle added to its place on the drawable.
    void send(Drawable drawable, GC gc);

private:
    void waitUntilRead();

    XConnection& connection_;
    Display* display_;
    XImage* image_ = nullptr;
    XShmSegmentInfo shm_{};
    bool shared_ = false;
    size_t capacity_ = 0;  // pixels
    size_t used_ = 0;
    std::vector<PaintRect> rects_;  // added, in the order of their pixels
    // The last shared put asks for a completion event: once Xlib has read
    // that (or anything later) the server is done with the image.
    unsigned long lastPut_ = 0;
    bool unread_ = false;
};
