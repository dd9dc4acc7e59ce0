#include "x11/composed_image_x11.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "x11/byte_order_x11.h"

namespace {

// What shmat() returns on failure.
void* const kShmFailed = reinterpret_cast<void*>(-1);  // NOLINT(performance-no-int-to-ptr)

bool NativeOrder32(const XImage* image) {
    return image->bits_per_pixel == 32 && image->byte_order == NativeByteOrder();
}

// The image describes the area last handed out: its size, its rows tightly
// packed, its place in the buffer.
void Describe(XImage* image, char* data, int width, int height) {
    image->width = width;
    image->height = height;
    image->bytes_per_line = width * 4;
    image->data = data;
}

}  // namespace

ComposedImage::ComposedImage(XConnection& connection, Visual* visual, int depth, size_t capacity)
    : connection_(connection), display_(connection.display()), capacity_(capacity) {
    const size_t bytes = capacity * sizeof(uint32_t);
    if (XShmQueryExtension(display_)) {
        image_ = XShmCreateImage(display_, visual, depth, ZPixmap, nullptr, &shm_, 1, 1);
        if (image_ != nullptr && NativeOrder32(image_)) {
            shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
            if (shm_.shmid >= 0) {
                void* address = shmat(shm_.shmid, nullptr, 0);
                const bool attached = address != kShmFailed;
                shm_.shmaddr = attached ? static_cast<char*>(address) : nullptr;
                shm_.readOnly = False;
                // A server elsewhere cannot attach, which shows as an error of
                // the attach alone; one the program made before stays to be
                // reported.
                shared_ = attached && !connection_.failsAlone([this] { return XShmAttach(display_, &shm_) != 0; });
                // Gone once both sides have detached.
                shmctl(shm_.shmid, IPC_RMID, nullptr);
                if (!shared_ && attached) {
                    shmdt(address);
                }
            }
        }
        if (!shared_ && image_ != nullptr) {
            image_->data = nullptr;
            XDestroyImage(image_);
            image_ = nullptr;
        }
    }
    if (shared_) {
        pixels_ = reinterpret_cast<uint32_t*>(shm_.shmaddr);
        return;
    }
    image_ = XCreateImage(display_, visual, depth, ZPixmap, 0, nullptr, 1, 1, 32, 0);
    if (image_ != nullptr && NativeOrder32(image_)) {
        pixels_ = static_cast<uint32_t*>(std::malloc(bytes));
    }
    if (image_ != nullptr && pixels_ == nullptr) {
        XDestroyImage(image_);
        image_ = nullptr;
    }
}

ComposedImage::~ComposedImage() {
    if (image_ == nullptr) {
        return;
    }
    image_->data = nullptr;  // not XDestroyImage's to free
    XDestroyImage(image_);
    if (shared_) {
        XShmDetach(display_, &shm_);
        XSync(display_, False);
        shmdt(shm_.shmaddr);
    } else {
        std::free(pixels_);
    }
}

uint32_t* ComposedImage::area(int width, int height) {
    const size_t size = static_cast<size_t>(width) * height;
    if (used_ + size > capacity_) {
        if (unread_) {
            // The server reads shared memory when it handles the request; the
            // round trip proves it has.
            XSync(display_, False);
            unread_ = false;
        }
        used_ = 0;
    }
    uint32_t* start = pixels_ + used_;
    used_ += size;
    Describe(image_, reinterpret_cast<char*>(start), width, height);
    return start;
}

void ComposedImage::put(Drawable drawable, GC gc, int x, int y) {
    const auto width = static_cast<unsigned>(image_->width);
    const auto height = static_cast<unsigned>(image_->height);
    if (shared_) {
        XShmPutImage(display_, drawable, gc, image_, 0, 0, x, y, width, height, False);
        unread_ = true;
    } else {
        // Xlib has copied the pixels once this returns.
        XPutImage(display_, drawable, gc, image_, 0, 0, x, y, width, height);
        used_ = 0;
    }
}
