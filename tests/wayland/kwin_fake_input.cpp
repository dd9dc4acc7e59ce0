// kwin_fake_input key|click|move: one keystroke (A), click (left button) or
// pointer move through KWin's org_kde_kwin_fake_input, as a user's input
// reaches the saver. Exit code 0 once sent, else 1.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "fake-input-client-protocol.h"

namespace {

constexpr uint32_t kKeyA = 30;  // linux/input-event-codes.h
constexpr uint32_t kButtonLeft = 0x110;

org_kde_kwin_fake_input* fakeInput = nullptr;

void Global(void* /*data*/, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        fakeInput = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc == 2 ? argv[1] : "";
    static const wl_registry_listener kListener = {Global, [](void*, wl_registry*, uint32_t) {}};
    wl_display* display = wl_display_connect(nullptr);
    wl_registry* registry = display ? wl_display_get_registry(display) : nullptr;
    if (registry) {
        wl_registry_add_listener(registry, &kListener, nullptr);
        wl_display_roundtrip(display);
    }
    if (!fakeInput || (what != "key" && what != "click" && what != "move")) {
        std::fprintf(stderr, "kwin_fake_input key|click|move: no compositor, no fake input v4, or a bad argument\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fakeInput, "quorbel tests", "input for the saver");
    // Pressed, then released: 1 and 0 for keys and buttons alike.
    for (const uint32_t state : {1u, 0u}) {
        if (what == "key") {
            org_kde_kwin_fake_input_keyboard_key(fakeInput, kKeyA, state);
        } else if (what == "click") {
            org_kde_kwin_fake_input_button(fakeInput, kButtonLeft, state);
        }
    }
    if (what == "move") {
        org_kde_kwin_fake_input_pointer_motion(fakeInput, wl_fixed_from_int(40), wl_fixed_from_int(30));
    }
    return wl_display_roundtrip(display) >= 0 ? 0 : 1;
}
