#include "x11/visual_image_x11.h"

#include <cstdlib>

#include "x11/byte_order_x11.h"

VisualImage::VisualImage(XConnection& connection, Visual* visual, int depth, ClientSize size)
    : display_(connection.display()) {
    if (size.width <= 0 || size.height <= 0) {
        return;
    }
    image_ = XCreateImage(display_, visual, depth, ZPixmap, 0, nullptr, size.width, size.height, 32, 0);
    if (image_ == nullptr) {
        return;
    }
    // Our own order; XPutImage swaps for a server that differs.
    image_->byte_order = NativeByteOrder();
    image_->data = static_cast<char*>(std::calloc(static_cast<size_t>(image_->bytes_per_line), size.height));
    if (image_->data == nullptr) {
        XDestroyImage(image_);
        image_ = nullptr;
        return;
    }
    direct32_ = image_->bits_per_pixel == 32;
}

VisualImage::~VisualImage() {
    if (image_ != nullptr) {
        XDestroyImage(image_);  // frees the pixel memory too
    }
}

void VisualImage::convert(const IndexedImage& frame, const PaintRect& rect, const PixelTable& pixels) {
    if (image_ == nullptr) {
        return;
    }
    for (int y = rect.top; y < rect.bottom; ++y) {
        const uint8_t* from = &frame.pixels[static_cast<size_t>(y) * frame.width];
        if (direct32_) {
            auto* to = reinterpret_cast<uint32_t*>(image_->data + static_cast<size_t>(y) * image_->bytes_per_line);
            for (int x = rect.left; x < rect.right; ++x) {
                to[x] = pixels[from[x]];
            }
        } else {
            for (int x = rect.left; x < rect.right; ++x) {
                XPutPixel(image_, x, y, pixels[from[x]]);
            }
        }
    }
}

void VisualImage::put(Drawable drawable, GC gc, const PaintRect& rect) {
    if (image_ == nullptr || rect.left >= rect.right || rect.top >= rect.bottom) {
        return;
    }
    XPutImage(display_, drawable, gc, image_, rect.left, rect.top, rect.left, rect.top,
              static_cast<unsigned>(rect.right - rect.left), static_cast<unsigned>(rect.bottom - rect.top));
}

Pixmap UploadPixmap(XConnection& connection, Visual* visual, int depth, const IndexedImage& frame,
                    const PixelTable& pixels) {
    Display* display = connection.display();
    const Pixmap pixmap = XCreatePixmap(display, DefaultRootWindow(display), frame.width, frame.height, depth);
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    VisualImage image(connection, visual, depth, {frame.width, frame.height});
    const PaintRect all{0, 0, frame.width, frame.height};
    image.convert(frame, all, pixels);
    image.put(pixmap, gc, all);
    XFreeGC(display, gc);
    return pixmap;
}
