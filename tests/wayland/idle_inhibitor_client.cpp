// idle_inhibitor_client: a small window holding an idle inhibitor
// (zwp_idle_inhibit_manager_v1), as a film player holds one, for the idle
// waiter's tests. Prints "inhibiting" once it is shown; holds it until
// killed.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "wayland/shm_buffer_wayland.h"
#include "xdg-shell-client-protocol.h"

namespace {

struct Globals {
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* wmBase = nullptr;
    zwp_idle_inhibit_manager_v1* inhibitManager = nullptr;
};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t /*version*/) {
    auto& globals = *static_cast<Globals*>(data);
    const std::pair<const wl_interface*, void**> wanted[] = {
        {&wl_compositor_interface, reinterpret_cast<void**>(&globals.compositor)},
        {&wl_shm_interface, reinterpret_cast<void**>(&globals.shm)},
        {&xdg_wm_base_interface, reinterpret_cast<void**>(&globals.wmBase)},
        {&zwp_idle_inhibit_manager_v1_interface, reinterpret_cast<void**>(&globals.inhibitManager)}};
    for (const auto& [known, global] : wanted) {
        if (std::strcmp(interface, known->name) == 0) {
            *global = wl_registry_bind(registry, name, known, 1);
        }
    }
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "idle_inhibitor_client: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        return Fail("cannot connect to the compositor");
    }
    Globals globals;
    static const wl_registry_listener kRegistry = {Global, [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistry, &globals);
    wl_display_roundtrip(display);
    if (!globals.compositor || !globals.shm || !globals.wmBase || !globals.inhibitManager) {
        return Fail("no wl_compositor, wl_shm, xdg_wm_base or zwp_idle_inhibit_manager_v1");
    }
    wl_surface* surface = wl_compositor_create_surface(globals.compositor);
    xdg_surface* xdgSurface = xdg_wm_base_get_xdg_surface(globals.wmBase, surface);
    static const xdg_surface_listener kConfigure = {
        [](void*, xdg_surface* configured, uint32_t serial) { xdg_surface_ack_configure(configured, serial); }};
    xdg_surface_add_listener(xdgSurface, &kConfigure, nullptr);
    xdg_toplevel_set_app_id(xdg_surface_get_toplevel(xdgSurface), "idle-inhibitor");
    wl_surface_commit(surface);
    wl_display_roundtrip(display);  // the first configure, acknowledged
    std::string error;
    const auto buffer = ShmBuffer::Make(globals.shm, {64, 64}, &error);
    if (!buffer) {
        return Fail(error);
    }
    std::memset(buffer->pixels(), 0x80, 64 * 64 * sizeof(uint32_t));
    buffer->attach(surface);
    wl_surface_damage(surface, 0, 0, 64, 64);
    zwp_idle_inhibit_manager_v1_create_inhibitor(globals.inhibitManager, surface);
    wl_surface_commit(surface);
    if (wl_display_roundtrip(display) < 0) {
        return Fail("the connection failed");
    }
    std::printf("inhibiting\n");
    std::fflush(stdout);
    while (wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
