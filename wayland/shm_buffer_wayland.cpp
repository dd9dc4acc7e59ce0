#include "wayland/shm_buffer_wayland.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

std::unique_ptr<ShmBuffer> ShmBuffer::Make(wl_shm* shm, ClientSize size, std::string* error) {
    std::unique_ptr<ShmBuffer> made(new ShmBuffer());
    const auto stride = static_cast<size_t>(size.width) * sizeof(uint32_t);
    const size_t bytes = stride * static_cast<size_t>(size.height);
    if (bytes > INT32_MAX) {
        *error = "cannot make a picture buffer of " + std::to_string(size.width) + "x" + std::to_string(size.height);
        return nullptr;
    }
    const int fd = memfd_create("quorbel-buffer", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
        *error = std::string("cannot make a picture buffer: ") + std::strerror(errno);
        if (fd >= 0) {
            close(fd);
        }
        return nullptr;
    }
    // A new file reads as zeros: the buffer starts black.
    void* pixels = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) {
        *error = std::string("cannot map a picture buffer: ") + std::strerror(errno);
        close(fd);
        return nullptr;
    }
    made->pixels_ = static_cast<uint32_t*>(pixels);
    made->bytes_ = bytes;
    made->size_ = size;
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(bytes));
    made->buffer_ = wl_shm_pool_create_buffer(pool, 0, size.width, size.height, static_cast<int32_t>(stride),
                                              WL_SHM_FORMAT_XRGB8888);
    // The buffer keeps the memory; the pool and our descriptor can go.
    wl_shm_pool_destroy(pool);
    close(fd);
    static const wl_buffer_listener kListener = {Released};
    wl_buffer_add_listener(made->buffer_, &kListener, made.get());
    return made;
}

ShmBuffer::~ShmBuffer() {
    if (buffer_) {
        wl_buffer_destroy(buffer_);
    }
    if (pixels_) {
        munmap(pixels_, bytes_);
    }
}

void ShmBuffer::attach(wl_surface* surface) {
    wl_surface_attach(surface, buffer_, 0, 0);
    held_ = true;
}

void ShmBuffer::Released(void* data, wl_buffer* /*buffer*/) { static_cast<ShmBuffer*>(data)->held_ = false; }
