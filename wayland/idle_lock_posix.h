// Taking and finding the idle waiter's lock (wayland/idle_lock.h names it).
// The waiter removes the file as it lets go, and one that takes the lock
// checks that the file it locked is still the one at the path, so two
// waiters never both hold one. Whoever looks for the running waiter reads
// the process id only while the lock is held: a file left by a waiter that
// was killed names nobody.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

class IdleLock {
public:
    // The lock at `path` for this process, its id written in. Null when it
    // cannot be had: *holder then is the running waiter's id (0 in the
    // moment before it is written), or *error says what failed.
    static std::unique_ptr<IdleLock> Take(const std::string& path, std::optional<pid_t>* holder, std::string* error);
    ~IdleLock();
    IdleLock(const IdleLock&) = delete;
    IdleLock& operator=(const IdleLock&) = delete;

private:
    IdleLock(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}

    std::string path_;
    int fd_;
};

// The process id of the waiter holding the lock at `path`; nothing when no
// process holds it.
std::optional<pid_t> IdleLockHolder(const std::string& path);
