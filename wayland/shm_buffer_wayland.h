// One wl_shm buffer of 32-bit pixels (XRGB8888, top row first), mapped for
// drawing. The compositor holds it from the commit that shows it until it
// sends release; nothing may draw into it in between.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <string>

#include "display/paint_target.h"

class ShmBuffer {
public:
    // A black buffer of size device pixels; nothing, with a message, when
    // the memory or the buffer cannot be had.
    static std::unique_ptr<ShmBuffer> Make(wl_shm* shm, ClientSize size, std::string* error);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer() const { return buffer_; }
    uint32_t* pixels() const { return pixels_; }
    ClientSize size() const { return size_; }

    bool held() const { return held_; }
    // Attached and committed: held until the compositor releases it.
    void attach(wl_surface* surface);

private:
    ShmBuffer() = default;
    static void Released(void* data, wl_buffer* buffer);

    wl_buffer* buffer_ = nullptr;
    uint32_t* pixels_ = nullptr;
    size_t bytes_ = 0;
    ClientSize size_{0, 0};
    bool held_ = false;
};
