#include "x11/visual_image_x11.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

namespace {

int NativeByteOrder() {
    const uint16_t probe = 1;
    return *reinterpret_cast<const uint8_t*>(&probe) == 1 ? LSBFirst : MSBFirst;
}

}  // namespace

VisualImage::VisualImage(XConnection& connection, Visual* visual, int depth, ClientSize size, bool sharedMemory,
                         int originX, int originY)
    : display_(connection.display()), connection_(connection), size_(size), originX_(originX), originY_(originY) {
    if (size.width <= 0 || size.height <= 0) {
        size_ = {0, 0};
        return;
    }
    if (!(sharedMemory && attachShared(visual, depth))) {
        image_ = XCreateImage(display_, visual, depth, ZPixmap, 0, nullptr, size.width, size.height, 32, 0);
        if (image_ != nullptr) {
            // Our own order; XPutImage swaps for a server that differs.
            image_->byte_order = NativeByteOrder();
            image_->data = static_cast<char*>(std::calloc(static_cast<size_t>(image_->bytes_per_line), size.height));
        }
    }
    if (image_ == nullptr || image_->data == nullptr) {
        size_ = {0, 0};
        return;
    }
    direct32_ = image_->bits_per_pixel == 32 && image_->byte_order == NativeByteOrder();
}

bool VisualImage::attachShared(Visual* visual, int depth) {
    if (!XShmQueryExtension(display_)) {
        return false;
    }
    image_ = XShmCreateImage(display_, visual, depth, ZPixmap, nullptr, &segment_, size_.width, size_.height);
    if (image_ == nullptr) {
        return false;
    }
    segment_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * size_.height, IPC_CREAT | 0600);
    void* memory = segment_.shmid < 0 ? reinterpret_cast<void*>(-1) : shmat(segment_.shmid, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        if (segment_.shmid >= 0) {
            shmctl(segment_.shmid, IPC_RMID, nullptr);
        }
        XDestroyImage(image_);
        image_ = nullptr;
        return false;
    }
    segment_.shmaddr = image_->data = static_cast<char*>(memory);
    segment_.readOnly = False;
    // A server on another machine, or one that refuses us, fails the attach
    // with an error rather than a result.
    const Bool attached = XShmAttach(display_, &segment_);
    const bool failed = connection_.syncAndTakeError().has_value() || !attached;
    // Gone from the system once both sides have let go, even if we crash.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (failed) {
        shmdt(segment_.shmaddr);
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
        return false;
    }
    shared_ = true;
    return true;
}

VisualImage::~VisualImage() {
    if (image_ == nullptr) {
        return;
    }
    if (shared_) {
        XShmDetach(display_, &segment_);
        XSync(display_, False);
        shmdt(segment_.shmaddr);
        image_->data = nullptr;
    }
    XDestroyImage(image_);  // frees our own pixel memory too
}

void VisualImage::convert(const IndexedImage& frame, const PaintRect& rect, const PixelTable& pixels) {
    if (image_ == nullptr) {
        return;
    }
    for (int y = rect.top; y < rect.bottom; ++y) {
        const uint8_t* from = &frame.pixels[static_cast<size_t>(y) * frame.width];
        const int row = y - originY_;
        if (direct32_) {
            auto* to = reinterpret_cast<uint32_t*>(image_->data + static_cast<size_t>(row) * image_->bytes_per_line);
            for (int x = rect.left; x < rect.right; ++x) {
                to[x - originX_] = pixels[from[x]];
            }
        } else {
            for (int x = rect.left; x < rect.right; ++x) {
                XPutPixel(image_, x - originX_, row, pixels[from[x]]);
            }
        }
    }
}

void VisualImage::put(Drawable drawable, GC gc, const PaintRect& rect) {
    if (image_ == nullptr || rect.left >= rect.right || rect.top >= rect.bottom) {
        return;
    }
    const unsigned width = rect.right - rect.left;
    const unsigned height = rect.bottom - rect.top;
    if (shared_) {
        XShmPutImage(display_, drawable, gc, image_, rect.left - originX_, rect.top - originY_, rect.left, rect.top,
                     width, height, False);
    } else {
        XPutImage(display_, drawable, gc, image_, rect.left - originX_, rect.top - originY_, rect.left, rect.top, width,
                  height);
    }
}

Pixmap UploadPixmap(XConnection& connection, Visual* visual, int depth, const IndexedImage& frame,
                    const PixelTable& pixels) {
    Display* display = connection.display();
    const Pixmap pixmap = XCreatePixmap(display, DefaultRootWindow(display), frame.width, frame.height, depth);
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    VisualImage image(connection, visual, depth, {frame.width, frame.height}, false);
    const PaintRect all{0, 0, frame.width, frame.height};
    image.convert(frame, all, pixels);
    image.put(pixmap, gc, all);
    XFreeGC(display, gc);
    return pixmap;
}
