#include "render/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Temporaries the signal handler removes: fixed buffers, since the handler
// may only call async-signal-safe functions.
constexpr int kSlots = 4;
constexpr size_t kPathCapacity = 4096;
char pendingPaths[kSlots][kPathCapacity];
volatile sig_atomic_t pendingUsed[kSlots];
sigset_t handledSignals;

bool EndsByDefault(int signal) {
    switch (signal) {
        case SIGKILL:
        case SIGSTOP:
        case SIGCHLD:
        case SIGCONT:
        case SIGTSTP:
        case SIGTTIN:
        case SIGTTOU:
        case SIGURG:
        case SIGWINCH:
            return false;
        default:
            return true;
    }
}

extern "C" void RemovePendingAndEnd(int signal) {
    for (int i = 0; i < kSlots; ++i) {
        if (pendingUsed[i])
            unlink(pendingPaths[i]);
    }
    struct sigaction original {};
    original.sa_handler = SIG_DFL;
    sigaction(signal, &original, nullptr);
    // Blocked while handled: it ends the program once unblocked.
    raise(signal);
    sigset_t self;
    sigemptyset(&self);
    sigaddset(&self, signal);
    sigprocmask(SIG_UNBLOCK, &self, nullptr);
}

// Every signal that would end the program gets the handler, unless someone
// (the shell, the caller) already ignores or handles it.
void InstallHandlers() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    sigemptyset(&handledSignals);
    struct sigaction handler {};
    handler.sa_handler = RemovePendingAndEnd;
    sigfillset(&handler.sa_mask);
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction current {};
        if (!EndsByDefault(signal) || sigaction(signal, nullptr, &current) != 0 ||
            (current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL)
            continue;
        if (sigaction(signal, &handler, nullptr) == 0)
            sigaddset(&handledSignals, signal);
    }
}

// The handled signals wait while the list of temporaries and the files
// disagree: between creating a temporary and listing it, renaming and
// unlisting it.
class SignalsHeld {
public:
    SignalsHeld() { sigprocmask(SIG_BLOCK, &handledSignals, &previous_); }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

int Remember(const std::string& path) {
    if (path.size() >= kPathCapacity)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        if (!pendingUsed[i]) {
            std::memcpy(pendingPaths[i], path.c_str(), path.size() + 1);
            pendingUsed[i] = 1;
            return i;
        }
    }
    return -1;
}

void Forget(int slot) {
    if (slot >= 0)
        pendingUsed[slot] = 0;
}

mode_t CreationMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string OutputDestination(const std::string& path) {
    if (path == "-")
        return path;
    std::string current = path;
    char target[PATH_MAX];
    // As many links as the system itself would follow.
    for (int hops = 0; hops < 40; ++hops) {
        const ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0)
            break;
        target[length] = '\0';
        current = target[0] == '/' ? std::string(target) : FolderOf(current) + "/" + target;
    }
    const size_t slash = current.rfind('/');
    const std::string name = slash == std::string::npos ? current : current.substr(slash + 1);
    char* folder = realpath(FolderOf(current).c_str(), nullptr);
    if (!folder)
        return current;
    std::string destination = folder;
    std::free(folder);
    return (destination == "/" ? "" : destination) + "/" + name;
}

bool OutputFile::fail(const std::string& what) {
    error_ = "cannot write \"" + path_ + "\": " + what;
    discard();
    return false;
}

bool OutputFile::fail(int reason) { return fail(reason != 0 ? std::strerror(reason) : "write error"); }

bool OutputFile::open(const std::string& path) {
    discard();
    path_ = path;
    if (path == "-") {
        standardOutput_ = true;
        stream_ = stdout;
        return true;
    }
    const std::string destination = OutputDestination(path);
    struct stat existing;
    const bool exists = stat(destination.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(std::strerror(EISDIR));
    if (exists && !S_ISREG(existing.st_mode)) {
        stream_ = std::fopen(destination.c_str(), "wb");
        return stream_ ? true : fail(std::strerror(errno));
    }
    InstallHandlers();
    std::vector<char> name(destination.begin(), destination.end());
    const char suffix[] = ".partial-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    int fd = -1;
    {
        const SignalsHeld held;
        fd = mkstemp(name.data());
        if (fd >= 0) {
            temporary_ = name.data();
            slot_ = Remember(temporary_);
        }
    }
    if (fd < 0) {
        // No temporary beside a file that exists (a read-only folder, /proc):
        // writing it in place tells whether it can be written at all.
        const int reason = errno;
        if (!exists)
            return fail(std::strerror(reason));
        stream_ = std::fopen(destination.c_str(), "wb");
        return stream_ ? true : fail(std::strerror(errno));
    }
    destination_ = destination;
    // mkstemp makes the file private; a finished output gets the usual mode.
    fchmod(fd, CreationMode());
    stream_ = fdopen(fd, "wb");
    if (!stream_) {
        close(fd);
        return fail(std::strerror(errno));
    }
    return true;
}

bool OutputFile::commit() {
    if (!stream_)
        return fail("not open");
    const bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    const int writeErrno = errno;
    if (standardOutput_) {
        stream_ = nullptr;
        return written ? true : fail(writeErrno);
    }
    FILE* stream = stream_;
    stream_ = nullptr;
    const bool closed = std::fclose(stream) == 0;
    if (!written || !closed)
        return fail(written ? errno : writeErrno);
    if (!temporary_.empty()) {
        const SignalsHeld held;
        if (std::rename(temporary_.c_str(), destination_.c_str()) != 0)
            return fail(errno);
        temporary_.clear();
        Forget(slot_);
        slot_ = -1;
    }
    return true;
}

void OutputFile::discard() {
    if (stream_ && !standardOutput_)
        std::fclose(stream_);
    stream_ = nullptr;
    const SignalsHeld held;
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
    Forget(slot_);
    slot_ = -1;
}

bool SameOutput(const std::string& a, const std::string& b) {
    if (a == "-" || b == "-")
        return a == b;
    struct stat first, second;
    const bool firstExists = stat(a.c_str(), &first) == 0;
    if (firstExists && !S_ISREG(first.st_mode))
        return false;  // a device or pipe takes any number of writers
    if (OutputDestination(a) == OutputDestination(b))
        return true;
    // Hard links, bind mounts: one file under two names.
    return firstExists && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
