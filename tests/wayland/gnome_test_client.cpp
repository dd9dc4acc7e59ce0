// What the idle waiter's tests need of a headless GNOME session, over its
// session bus:
//   gnome_test_client session-manager  a stand-in for org.gnome.SessionManager
//       for mutter's idle monitor to follow: InhibitedActions (type u, 8 for
//       idle), which the tests set through org.freedesktop.DBus.Properties.Set
//       and which is announced with PropertiesChanged as a session manager
//       does. Prints "ready" once it owns the name; runs until killed.
//   gnome_test_client key  a key typed through mutter's remote desktop, twice:
//       a new device's first key may arrive folded into the keyboard's enter.
#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kManagerPath[] = "/org/gnome/SessionManager";
constexpr char kManager[] = "org.gnome.SessionManager";
constexpr char kRemoteDesktop[] = "org.gnome.Mutter.RemoteDesktop";
constexpr char kSession[] = "org.gnome.Mutter.RemoteDesktop.Session";

uint32_t inhibitedActions = 0;

int SetInhibited(sd_bus* bus, const char* /*path*/, const char* /*interface*/, const char* property,
                 sd_bus_message* value, void* /*data*/, sd_bus_error* /*error*/) {
    const int result = sd_bus_message_read(value, "u", &inhibitedActions);
    return result < 0 ? result : sd_bus_emit_properties_changed(bus, kManagerPath, kManager, property, nullptr);
}

// The default getter reads the property at the object's user data.
const sd_bus_vtable kManagerVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_WRITABLE_PROPERTY("InhibitedActions", "u", nullptr, SetInhibited, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_VTABLE_END,
};

int Fail(const std::string& what, int result, const sd_bus_error* error = nullptr) {
    std::fprintf(stderr, "gnome_test_client: %s: %s\n", what.c_str(),
                 error && error->message ? error->message : std::strerror(-result));
    return 1;
}

int SessionManager(sd_bus* bus) {
    int result = sd_bus_add_object_vtable(bus, nullptr, kManagerPath, kManager, kManagerVtable, &inhibitedActions);
    if (result < 0 || (result = sd_bus_request_name(bus, kManager, 0)) < 0) {
        return Fail("cannot be org.gnome.SessionManager", result);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        result = sd_bus_process(bus, nullptr);
        if (result < 0) {
            return Fail("the bus failed", result);
        }
        if (result == 0 && (result = sd_bus_wait(bus, UINT64_MAX)) < 0) {
            return Fail("the bus failed", result);
        }
    }
}

// The remote desktop session's path, or empty with *error set.
std::string StartRemoteDesktop(sd_bus* bus, sd_bus_error* error) {
    sd_bus_message* reply = nullptr;
    const char* session = nullptr;
    std::string path;
    if (sd_bus_call_method(bus, kRemoteDesktop, "/org/gnome/Mutter/RemoteDesktop", kRemoteDesktop, "CreateSession",
                           error, &reply, "") >= 0 &&
        sd_bus_message_read(reply, "o", &session) >= 0) {
        path = session;
    }
    sd_bus_message_unref(reply);
    if (!path.empty() &&
        sd_bus_call_method(bus, kRemoteDesktop, path.c_str(), kSession, "Start", error, nullptr, "") < 0) {
        path.clear();
    }
    return path;
}

int Key(sd_bus* bus) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const std::string path = StartRemoteDesktop(bus, &error);
    int result = path.empty() ? -EINVAL : 0;
    constexpr uint32_t kKeyA = 30;  // linux/input-event-codes.h
    for (int press = 0; press < 4 && result >= 0; ++press) {
        result = sd_bus_call_method(bus, kRemoteDesktop, path.c_str(), kSession, "NotifyKeyboardKeycode", &error,
                                    nullptr, "ub", kKeyA, press % 2 == 0);
    }
    if (!path.empty()) {
        sd_bus_call_method(bus, kRemoteDesktop, path.c_str(), kSession, "Stop", nullptr, nullptr, "");
    }
    const int code = result < 0 ? Fail("no key through the remote desktop", result, &error) : 0;
    sd_bus_error_free(&error);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 2 ? argv[1] : "";
    if (mode != "session-manager" && mode != "key") {
        std::fprintf(stderr, "usage: gnome_test_client session-manager|key\n");
        return 2;
    }
    sd_bus* bus = nullptr;
    const int result = sd_bus_open_user(&bus);
    if (result < 0) {
        return Fail("no session bus", result);
    }
    const int code = mode == "key" ? Key(bus) : SessionManager(bus);
    sd_bus_flush_close_unref(bus);
    return code;
}
