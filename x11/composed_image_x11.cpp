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

}  // namespace

ComposedImage::ComposedImage(XConnection& connection, Visual* visual, int depth, ClientSize size)
    : connection_(connection), display_(connection.display()) {
    if (size.width <= 0 || size.height <= 0) {
        return;
    }
    if (XShmQueryExtension(display_)) {
        image_ = XShmCreateImage(display_, visual, depth, ZPixmap, nullptr, &shm_, size.width, size.height);
        if (image_ != nullptr && NativeOrder32(image_)) {
            shm_.shmid =
                shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * size.height, IPC_CREAT | 0600);
            if (shm_.shmid >= 0) {
                void* address = shmat(shm_.shmid, nullptr, 0);
                const bool attached = address != kShmFailed;
                shm_.shmaddr = image_->data = attached ? static_cast<char*>(address) : nullptr;
                shm_.readOnly = False;
                // A server elsewhere cannot attach; that shows as an error.
                shared_ = attached && XShmAttach(display_, &shm_) && !connection_.syncAndTakeError();
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
    if (!shared_) {
        image_ = XCreateImage(display_, visual, depth, ZPixmap, 0, nullptr, size.width, size.height, 32, 0);
        if (image_ != nullptr && NativeOrder32(image_)) {
            image_->data = static_cast<char*>(std::malloc(static_cast<size_t>(image_->bytes_per_line) * size.height));
        }
        if (image_ != nullptr && image_->data == nullptr) {
            XDestroyImage(image_);
            image_ = nullptr;
        }
    }
}

ComposedImage::~ComposedImage() {
    if (image_ == nullptr) {
        return;
    }
    if (shared_) {
        XShmDetach(display_, &shm_);
        XSync(display_, False);
        shmdt(shm_.shmaddr);
        image_->data = nullptr;
    }
    XDestroyImage(image_);
}

void ComposedImage::waitUntilRead() {
    // The server reads shared memory when it handles the request; by the
    // next tick it has long done so, and the round trip proves it.
    XSync(display_, False);
    unread_ = false;
}

void ComposedImage::put(Drawable drawable, GC gc, const PaintRect& rect) {
    const auto width = static_cast<unsigned>(rect.right - rect.left);
    const auto height = static_cast<unsigned>(rect.bottom - rect.top);
    if (shared_) {
        XShmPutImage(display_, drawable, gc, image_, rect.left, rect.top, rect.left, rect.top, width, height, False);
        unread_ = true;
    } else {
        XPutImage(display_, drawable, gc, image_, rect.left, rect.top, rect.left, rect.top, width, height);
    }
}
