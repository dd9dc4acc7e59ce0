#include "wayland/seat_wayland.h"

#include <unistd.h>

namespace {

SeatInput& InputOf(void* data) { return *static_cast<SeatInput*>(data); }

const wl_seat_listener kSeatListener = {
    [](void* data, wl_seat*, uint32_t caps) {
        InputOf(data).capabilities((caps & WL_SEAT_CAPABILITY_POINTER) != 0, (caps & WL_SEAT_CAPABILITY_KEYBOARD) != 0,
                                   (caps & WL_SEAT_CAPABILITY_TOUCH) != 0);
    },
    [](void*, wl_seat*, const char*) {},
};

const wl_pointer_listener kPointerListener = {
    [](void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
        InputOf(data).pointerEnter(serial, reinterpret_cast<uintptr_t>(surface), x, y);
    },
    [](void*, wl_pointer*, uint32_t, wl_surface*) {},
    [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) { InputOf(data).pointerMotion(x, y); },
    [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
        InputOf(data).pointerButton(state == WL_POINTER_BUTTON_STATE_PRESSED);
    },
    [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, int32_t) {},
    [](void*, wl_pointer*, uint32_t, int32_t) {},
};

const wl_keyboard_listener kKeyboardListener = {
    // The key map is not needed: any key ends it.
    [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); },
    // Keys held as the focus arrives come here, not as presses.
    [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
    [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
    [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
        InputOf(data).key(state == WL_KEYBOARD_KEY_STATE_PRESSED);
    },
    [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {},
    [](void*, wl_keyboard*, int32_t, int32_t) {},
};

const wl_touch_listener kTouchListener = {
    [](void* data, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t, wl_fixed_t) {
        InputOf(data).touchDown();
    },
    [](void*, wl_touch*, uint32_t, uint32_t, int32_t) {},
    [](void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_touch*) {},
    [](void*, wl_touch*) {},
    [](void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_touch*, int32_t, wl_fixed_t) {},
};

// wl_pointer.release and the others came with version 3; before it, destroy.
template <typename Device>
void LetGo(Device*& device, void (*release)(Device*), void (*destroy)(Device*), uint32_t version) {
    if (device) {
        (version >= 3 ? release : destroy)(device);
        device = nullptr;
    }
}

}  // namespace

WaylandSeat::WaylandSeat(wl_seat* seat, uint32_t name, bool endsOnInput)
    : seat_(seat), name_(name), input_(*this, endsOnInput) {
    wl_seat_add_listener(seat_, &kSeatListener, &input_);
}

WaylandSeat::~WaylandSeat() {
    input_.capabilities(false, false, false);
    if (wl_seat_get_version(seat_) >= 5) {
        wl_seat_release(seat_);
    } else {
        wl_seat_destroy(seat_);
    }
}

void WaylandSeat::usePointer(bool use) {
    if (use) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, &kPointerListener, &input_);
    } else {
        LetGo(pointer_, wl_pointer_release, wl_pointer_destroy, wl_seat_get_version(seat_));
    }
}

void WaylandSeat::useKeyboard(bool use) {
    if (use) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, &kKeyboardListener, &input_);
    } else {
        LetGo(keyboard_, wl_keyboard_release, wl_keyboard_destroy, wl_seat_get_version(seat_));
    }
}

void WaylandSeat::useTouch(bool use) {
    if (use) {
        touch_ = wl_seat_get_touch(seat_);
        wl_touch_add_listener(touch_, &kTouchListener, &input_);
    } else {
        LetGo(touch_, wl_touch_release, wl_touch_destroy, wl_seat_get_version(seat_));
    }
}

void WaylandSeat::hideCursor(uint32_t serial) {
    if (pointer_) {
        wl_pointer_set_cursor(pointer_, serial, nullptr, 0, 0);
    }
}
