#include "wayland/idle_source_wayland.h"

namespace {

// Notes the idle events; resumed needs nothing, since a showing ends by the
// seat's input rule.
template <typename Notification>
class ProtocolIdle final : public IdleSource {
public:
    ProtocolIdle(Notification* notification, void (*destroy)(Notification*))
        : notification_(notification), destroy_(destroy) {}
    ~ProtocolIdle() override { destroy_(notification_); }
    ProtocolIdle(const ProtocolIdle&) = delete;
    ProtocolIdle& operator=(const ProtocolIdle&) = delete;

    bool takeIdled() override {
        const bool idled = idled_;
        idled_ = false;
        return idled;
    }

    static void Idled(void* data, Notification* /*notification*/) { static_cast<ProtocolIdle*>(data)->idled_ = true; }
    static void Resumed(void* /*data*/, Notification* /*notification*/) {}

private:
    Notification* notification_;
    void (*destroy_)(Notification*);
    bool idled_ = false;
};

// Both protocols' listeners are {idle, resumed}.
template <typename Listener, typename Notification>
std::unique_ptr<IdleSource> Watch(Notification* notification, void (*destroy)(Notification*),
                                  int (*addListener)(Notification*, const Listener*, void*)) {
    using Idle = ProtocolIdle<Notification>;
    static const Listener kListener = {Idle::Idled, Idle::Resumed};
    auto source = std::make_unique<Idle>(notification, destroy);
    addListener(notification, &kListener, source.get());
    return source;
}

}  // namespace

std::unique_ptr<IdleSource> WatchIdle(ext_idle_notifier_v1* notifier, wl_seat* seat, uint32_t milliseconds) {
    return Watch<ext_idle_notification_v1_listener>(
        ext_idle_notifier_v1_get_idle_notification(notifier, milliseconds, seat), ext_idle_notification_v1_destroy,
        ext_idle_notification_v1_add_listener);
}

std::unique_ptr<IdleSource> WatchIdle(org_kde_kwin_idle* idle, wl_seat* seat, uint32_t milliseconds) {
    return Watch<org_kde_kwin_idle_timeout_listener>(org_kde_kwin_idle_get_idle_timeout(idle, seat, milliseconds),
                                                     org_kde_kwin_idle_timeout_release,
                                                     org_kde_kwin_idle_timeout_add_listener);
}
