#include "wayland/seat_input.h"

#include "saver_program/close_rules.h"

void SeatInput::capabilities(bool pointer, bool keyboard, bool touch) {
    if (pointer != pointer_) {
        devices_.usePointer(pointer);
    }
    if (keyboard != keyboard_) {
        devices_.useKeyboard(keyboard);
    }
    if (touch != touch_) {
        devices_.useTouch(touch);
    }
    pointer_ = pointer;
    keyboard_ = keyboard;
    touch_ = touch;
}

void SeatInput::pointerEnter(uint32_t serial, uintptr_t surface, FixedPoint x, FixedPoint y) {
    devices_.hideCursor(serial);
    // A pointer that comes back over the same surface (a new device, or
    // after leaving it) keeps counting from where it first came in.
    if (!haveOrigin_ || surface != originSurface_) {
        haveOrigin_ = true;
        originSurface_ = surface;
        originX_ = x;
        originY_ = y;
    }
}

void SeatInput::pointerMotion(FixedPoint x, FixedPoint y) {
    if (haveOrigin_ && MovedBeyondTolerance(originX_, originY_, x, y, FromPixels(kMoveTolerance))) {
        end();
    }
}

void SeatInput::pointerButton(bool pressed) {
    if (pressed) {
        end();
    }
}

void SeatInput::key(bool pressed) {
    if (pressed) {
        end();
    }
}

void SeatInput::touchDown() { end(); }

void SeatInput::end() { ended_ = ended_ || endsOnInput_; }
