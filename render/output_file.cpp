#include "render/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

namespace {

// Temporaries the signal handler removes: fixed buffers, since the handler
// may only call async-signal-safe functions.
constexpr int kSlots = 4;
constexpr size_t kPathCapacity = 4096;
char pendingPaths[kSlots][kPathCapacity];
volatile sig_atomic_t pendingUsed[kSlots];

extern "C" void RemovePendingAndExit(int signal) {
    for (int i = 0; i < kSlots; ++i) {
        if (pendingUsed[i])
            unlink(pendingPaths[i]);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

int Remember(const std::string& path) {
    static bool handlersInstalled = false;
    if (!handlersInstalled) {
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            std::signal(signal, RemovePendingAndExit);
        handlersInstalled = true;
    }
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

}  // namespace

bool OutputFile::fail(const std::string& what) {
    error_ = "cannot write \"" + path_ + "\": " + what;
    discard();
    return false;
}

bool OutputFile::open(const std::string& path) {
    discard();
    path_ = path;
    if (path == "-") {
        standardOutput_ = true;
        stream_ = stdout;
        return true;
    }
    struct stat existing;
    if (stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return fail(std::strerror(EISDIR));
        if (!S_ISREG(existing.st_mode)) {
            stream_ = std::fopen(path.c_str(), "wb");
            return stream_ ? true : fail(std::strerror(errno));
        }
    }
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".partial-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return fail(std::strerror(errno));
    temporary_ = name.data();
    slot_ = Remember(temporary_);
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
        return written ? true : fail(std::strerror(writeErrno));
    }
    FILE* stream = stream_;
    stream_ = nullptr;
    const bool closed = std::fclose(stream) == 0;
    if (!written || !closed)
        return fail(std::strerror(written ? errno : writeErrno));
    if (!temporary_.empty()) {
        if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
            return fail(std::strerror(errno));
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
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
    Forget(slot_);
    slot_ = -1;
}
