// SIGTERM, SIGINT and SIGHUP as a readable file descriptor, so that the event loop
// wakes for them in the same poll() as for the X connection. XScreenSaver
// ends its hacks with SIGTERM. A signal already ignored when the program
// starts (under nohup) stays ignored.
#pragma once

#include <csignal>
#include <string>

class StopSignals {
public:
    StopSignals() = default;
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Installs the handlers; false, with a message, when that fails.
    bool install(std::string* error);
    // Readable once a signal has arrived.
    int fd() const { return readEnd_; }

private:
    int readEnd_ = -1;
    sigset_t handled_{};  // the signals given our handler
};
