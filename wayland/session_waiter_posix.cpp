#include "wayland/session_waiter_posix.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "wayland/idle_lock.h"
#include "wayland/idle_lock_posix.h"
#include "wayland/saver_setup.h"

namespace {

// Until done() or about ten seconds have passed; whether done.
template <typename Done>
bool WaitFor(Done done) {
    for (int tries = 0; tries < 200; ++tries) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

bool SwaySession() { return IsSway(Environment("SWAYSOCK"), Environment("XDG_CURRENT_DESKTOP")); }

std::string SessionLock() {
    const std::string display = Environment("WAYLAND_DISPLAY");
    const std::string runtimeDir = Environment("XDG_RUNTIME_DIR");
    // A relative folder would put the lock wherever the program was started.
    return display.empty() || runtimeDir.empty() || runtimeDir[0] != '/' ? "" : IdleLockPath(runtimeDir, display);
}

std::optional<pid_t> StopWaiter(const std::string& lock, std::string* error) {
    std::optional<pid_t> holder;
    // A waiter that has the lock but not yet written its id: a moment.
    WaitFor([&] { return !(holder = IdleLockHolder(lock)) || *holder != 0; });
    if (!holder || *holder == 0) {
        return std::nullopt;
    }
    if (kill(*holder, SIGTERM) != 0 && errno != ESRCH) {
        *error = "cannot stop the waiter (process " + std::to_string(*holder) + "): " + std::strerror(errno);
    } else if (!WaitFor([&] { return IdleLockHolder(lock) != holder; })) {
        *error = "the waiter (process " + std::to_string(*holder) + ") did not end";
    }
    return holder;
}

std::optional<pid_t> StartWaiter(const char* program, uint32_t seconds, const std::string& lock, std::string* error) {
    char path[PATH_MAX] = {};
    if (readlink("/proc/self/exe", path, sizeof path - 1) <= 0) {
        *error = std::string("cannot tell where this program is: ") + std::strerror(errno);
        return std::nullopt;
    }
    const std::string idle = std::to_string(seconds);
    const pid_t child = fork();
    if (child < 0) {
        *error = std::string("cannot start the waiter: ") + std::strerror(errno);
        return std::nullopt;
    }
    if (child == 0) {
        setsid();
        const int nothing = open("/dev/null", O_RDWR);
        for (int stream = 0; stream < 3 && nothing >= 0; ++stream) {
            dup2(nothing, stream);
        }
        execl(path, program, "--idle", idle.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    bool ended = false;
    if (WaitFor([&] { return IdleLockHolder(lock) == child || (ended = waitpid(child, &status, WNOHANG) == child); }) &&
        !ended) {
        return child;
    }
    if (!ended) {
        kill(child, SIGTERM);
    }
    *error = "the idle waiter did not start (" +
             (ended ? "exit code " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status))
                    : std::string("it did not take the session's lock")) +
             "); run \"" + program + " --idle " + idle + "\" to see why";
    return std::nullopt;
}
