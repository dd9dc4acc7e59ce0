// Where the idle waiter learns that the session has been idle: a Wayland
// idle protocol, whose events come on the compositor's connection, or
// GNOME's idle monitor on the session bus, a connection of its own. Each
// honours the desktop's idle inhibitors (a film, a presentation) by not
// firing while one is held. Portable: no Wayland or D-Bus headers.
#pragma once

class IdleSource {
public:
    virtual ~IdleSource() = default;

    // True once for each time the session has been idle for the time asked
    // (again only after input).
    virtual bool takeIdled() = 0;

    // A connection of its own to wait on, and the poll() events it wants;
    // -1 when its events come on the compositor's connection.
    virtual int fd() const { return -1; }
    virtual short events() const { return 0; }
    // Reads and handles what came on fd(). False once that connection is
    // gone, as when the session ends.
    virtual bool process() { return true; }
};
