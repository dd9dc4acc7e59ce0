#include "wayland/idle_monitor_dbus.h"

#include <poll.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <cstring>

namespace {

constexpr char kService[] = "org.gnome.Mutter.IdleMonitor";
constexpr char kPath[] = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr char kInterface[] = "org.gnome.Mutter.IdleMonitor";

class MutterIdle final : public IdleSource {
public:
    explicit MutterIdle(sd_bus* bus) : bus_(bus) {}
    ~MutterIdle() override {
        sd_bus_slot_unref(match_);
        sd_bus_flush_close_unref(bus_);
    }
    MutterIdle(const MutterIdle&) = delete;
    MutterIdle& operator=(const MutterIdle&) = delete;

    // False when no idle monitor answered: *error empty when there is none.
    bool watch(uint32_t milliseconds, std::string* error) {
        // mutter may fire a watch asked for past its time at once: then the
        // idle time counts from now, or else from the next input.
        uint64_t idleTime = 0;
        sd_bus_message* idle = nullptr;
        if (sd_bus_call_method(bus_, kService, kPath, kInterface, "GetIdletime", nullptr, &idle, "") >= 0 &&
            sd_bus_message_read(idle, "t", &idleTime) >= 0 && idleTime >= milliseconds) {
            earliest_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        }
        sd_bus_message_unref(idle);
        // Listening first: the watch may fire as soon as it is made.
        int result = sd_bus_match_signal(bus_, &match_, nullptr, kPath, kInterface, "WatchFired", Fired, this);
        if (result < 0) {
            *error = std::string("cannot listen on the session bus: ") + std::strerror(-result);
            return false;
        }
        sd_bus_message* call = nullptr;
        sd_bus_message* reply = nullptr;
        sd_bus_error failure = SD_BUS_ERROR_NULL;
        result = sd_bus_message_new_method_call(bus_, &call, kService, kPath, kInterface, "AddIdleWatch");
        if (result >= 0) {
            sd_bus_message_set_auto_start(call, 0);
            result = sd_bus_message_append(call, "t", static_cast<uint64_t>(milliseconds));
        }
        if (result >= 0) {
            result = sd_bus_call(bus_, call, 0, &failure, &reply);
        }
        if (result >= 0) {
            result = sd_bus_message_read(reply, "u", &watch_);
        }
        if (result < 0 &&
            !sd_bus_error_has_names(&failure, SD_BUS_ERROR_SERVICE_UNKNOWN, SD_BUS_ERROR_NAME_HAS_NO_OWNER,
                                    SD_BUS_ERROR_UNKNOWN_OBJECT, SD_BUS_ERROR_UNKNOWN_METHOD)) {
            *error = std::string("GNOME's idle monitor refused a watch: ") +
                     (failure.message ? failure.message : std::strerror(-result));
        }
        sd_bus_error_free(&failure);
        sd_bus_message_unref(reply);
        sd_bus_message_unref(call);
        return result >= 0;
    }

    bool takeIdled() override {
        const bool idled = idled_;
        idled_ = false;
        return idled;
    }

    int fd() const override { return sd_bus_get_fd(bus_); }
    short events() const override {
        const int events = sd_bus_get_events(bus_);
        return static_cast<short>(events > 0 ? events : POLLIN);
    }
    bool process() override {
        for (;;) {
            const int result = sd_bus_process(bus_, nullptr);
            if (result <= 0) {
                return result == 0;
            }
        }
    }

private:
    static int Fired(sd_bus_message* message, void* data, sd_bus_error* /*error*/) {
        auto* self = static_cast<MutterIdle*>(data);
        uint32_t watch = 0;
        if (sd_bus_message_read(message, "u", &watch) >= 0 && watch == self->watch_ &&
            std::chrono::steady_clock::now() >= self->earliest_) {
            self->idled_ = true;
        }
        return 0;
    }

    sd_bus* bus_;
    sd_bus_slot* match_ = nullptr;
    uint32_t watch_ = 0;
    std::chrono::steady_clock::time_point earliest_;  // a firing before it is not counted
    bool idled_ = false;
};

}  // namespace

std::unique_ptr<IdleSource> WatchMutterIdle(uint32_t milliseconds, std::string* error) {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        return nullptr;
    }
    auto monitor = std::make_unique<MutterIdle>(bus);
    if (!monitor->watch(milliseconds, error)) {
        return nullptr;
    }
    return monitor;
}
