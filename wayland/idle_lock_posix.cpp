#include "wayland/idle_lock_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "settings/command_line_options.h"

namespace {

pid_t ReadPid(int fd) {
    char text[24] = {};
    const ssize_t length = pread(fd, text, sizeof text - 1, 0);
    const std::string digits(text, length > 0 ? static_cast<size_t>(length) : 0);
    const std::optional<uint32_t> pid = ParseDecimal(digits.substr(0, digits.find('\n')), 1, INT32_MAX);
    return pid ? static_cast<pid_t>(*pid) : 0;
}

bool SameFile(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

}  // namespace

std::unique_ptr<IdleLock> IdleLock::Take(const std::string& path, std::optional<pid_t>* holder, std::string* error) {
    // A waiter ending between our open and our flock removes the file we
    // opened: then open the new one.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            *error = "cannot open " + path + ": " + std::strerror(errno);
            return nullptr;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int why = errno;
            if (why == EWOULDBLOCK) {
                *holder = ReadPid(fd);
            } else {
                *error = "cannot lock " + path + ": " + std::strerror(why);
            }
            close(fd);
            return nullptr;
        }
        if (SameFile(fd, path)) {
            const std::string pid = std::to_string(getpid()) + "\n";
            if (ftruncate(fd, 0) != 0 || pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
                *error = "cannot write " + path + ": " + std::strerror(errno);
                unlink(path.c_str());
                close(fd);
                return nullptr;
            }
            return std::unique_ptr<IdleLock>(new IdleLock(path, fd));
        }
        close(fd);
    }
    *error = "cannot lock " + path + ": it keeps being replaced";
    return nullptr;
}

IdleLock::~IdleLock() {
    // Removed while still held, so that nobody locks a file that is gone.
    unlink(path_.c_str());
    close(fd_);
}

std::optional<pid_t> IdleLockHolder(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<pid_t> holder;
    if (flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        holder = ReadPid(fd);
    }
    close(fd);
    return holder;
}
