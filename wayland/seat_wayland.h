// The seat's pointer, keyboard and touch, their events handed to SeatInput,
// which decides what they mean.
#pragma once

#include <wayland-client.h>

#include "wayland/seat_input.h"

class WaylandSeat final : public SeatDevices {
public:
    WaylandSeat(wl_seat* seat, uint32_t name, bool endsOnInput);
    ~WaylandSeat();
    WaylandSeat(const WaylandSeat&) = delete;
    WaylandSeat& operator=(const WaylandSeat&) = delete;

    uint32_t name() const { return name_; }
    bool ended() const { return input_.ended(); }

    void usePointer(bool use) override;
    void useKeyboard(bool use) override;
    void useTouch(bool use) override;
    void hideCursor(uint32_t serial) override;

private:
    wl_seat* seat_;
    uint32_t name_;
    SeatInput input_;
    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    wl_touch* touch_ = nullptr;
};
