// What the seat's input means to the saver, apart from the Wayland calls
// that carry it: which devices to hold as the seat's capabilities come and
// go, the pointer hidden over our surfaces, and Quorbel.scr's close rule:
// any key pressed, any button or touch, or the pointer moved more than
// kMoveTolerance logical pixels (both axes added) from where it entered one
// of our surfaces. Keys already held when the keyboard focus arrives come
// as a list, not as presses, so they never count. Portable, so that tests
// can feed it events in-process.
#pragma once

#include <cstdint>

// The calls the rule makes on the seat; the Wayland front end makes them
// with the seat's objects.
class SeatDevices {
public:
    // Takes or lets go of the seat's pointer, keyboard or touch device.
    virtual void usePointer(bool use) = 0;
    virtual void useKeyboard(bool use) = 0;
    virtual void useTouch(bool use) = 0;
    // No cursor image over our surface, for the pointer's enter `serial`.
    virtual void hideCursor(uint32_t serial) = 0;

protected:
    ~SeatDevices() = default;
};

// Positions are surface-local logical pixels in Wayland's 24.8 fixed point.
using FixedPoint = int32_t;
constexpr FixedPoint FromPixels(int pixels) { return pixels * 256; }

class SeatInput {
public:
    // endsOnInput false (--window): input is only passed by, nothing ends.
    SeatInput(SeatDevices& devices, bool endsOnInput) : devices_(devices), endsOnInput_(endsOnInput) {}

    void capabilities(bool pointer, bool keyboard, bool touch);
    // surface: any value that tells our surfaces apart.
    void pointerEnter(uint32_t serial, uintptr_t surface, FixedPoint x, FixedPoint y);
    void pointerMotion(FixedPoint x, FixedPoint y);
    void pointerButton(bool pressed);
    void key(bool pressed);
    void touchDown();

    // True once input has asked the saver to end.
    bool ended() const { return ended_; }

private:
    void end();

    SeatDevices& devices_;
    bool endsOnInput_;
    bool pointer_ = false;
    bool keyboard_ = false;
    bool touch_ = false;
    bool haveOrigin_ = false;
    uintptr_t originSurface_ = 0;
    FixedPoint originX_ = 0;
    FixedPoint originY_ = 0;
    bool ended_ = false;
};
