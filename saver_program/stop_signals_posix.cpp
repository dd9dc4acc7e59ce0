#include "saver_program/stop_signals_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

// SIGHUP: the terminal it was started from went away.
struct StopSignal {
    int number;
    const char* name;
};
constexpr StopSignal kSignals[] = {{SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}};

// The write end, for the handler; only one StopSignals is installed at once.
volatile sig_atomic_t writeEnd = -1;

void Raise(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing is lost by failing.
    [[maybe_unused]] const ssize_t written = write(writeEnd, &byte, 1);
    errno = saved;
}

}  // namespace

bool StopSignals::install(std::string* error) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        *error = std::string("cannot make a pipe for signals: ") + std::strerror(errno);
        return false;
    }
    readEnd_ = ends[0];
    writeEnd = ends[1];
    sigemptyset(&handled_);
    struct sigaction action {};
    action.sa_handler = Raise;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const StopSignal& signal : kSignals) {
        struct sigaction current {};
        if (sigaction(signal.number, nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) == 0 &&
            current.sa_handler == SIG_IGN) {
            // Ignored when we started (nohup, a shell's trap ''): whoever
            // started us asked us to outlive that, so it stays ignored.
            continue;
        }
        if (sigaction(signal.number, &action, nullptr) != 0) {
            *error = std::string("cannot handle ") + signal.name + ": " + std::strerror(errno);
            return false;
        }
        sigaddset(&handled_, signal.number);
    }
    return true;
}

StopSignals::~StopSignals() {
    if (readEnd_ < 0) {
        return;
    }
    for (const StopSignal& signal : kSignals) {
        if (sigismember(&handled_, signal.number) == 1) {
            std::signal(signal.number, SIG_DFL);
        }
    }
    close(writeEnd);
    writeEnd = -1;
    close(readEnd_);
}
