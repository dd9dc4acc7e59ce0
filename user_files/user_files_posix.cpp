#include "user_files/user_files_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string Reason(const std::string& what, int error) { return what + ": " + std::strerror(error); }

// Given to the owner of like where that is not already so. Only root can
// give a file away, and only root needs to: a user's run leaves files the
// user's, as an editor would.
int TakeOwner(int file, const struct stat& like) {
    struct stat mine {};
    if (fstat(file, &mine) != 0) {
        return errno;
    }
    if ((mine.st_uid == like.st_uid && mine.st_gid == like.st_gid) || fchown(file, like.st_uid, like.st_gid) == 0 ||
        geteuid() != 0) {
        return 0;
    }
    return errno;
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

std::string XdgFolder(const char* variable, const std::string& home, const char* fallback) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value == '/' ? std::string(value) : home + "/" + fallback;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

UserFileRead ReadUserFile(const std::string& path) {
    UserFileRead read{UserFileRead::State::Refused, "", 0, ""};
    struct stat status {};
    // Looked at before it is opened, since opening a device may do things;
    // and again once open, in case it was swapped meanwhile.
    if (stat(path.c_str(), &status) != 0) {
        read.state = errno == ENOENT ? UserFileRead::State::Missing : UserFileRead::State::Refused;
        read.error = Reason("cannot read " + path, errno);
        return read;
    }
    const int file = S_ISREG(status.st_mode) ? open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) : -1;
    if (file < 0 && S_ISREG(status.st_mode)) {
        read.error = Reason("cannot read " + path, errno);
        return read;
    }
    if (file < 0 || fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        read.error = path + " is not a regular file";
    } else if (status.st_size > kSaneFileSize) {
        read.error = path + " is too large (over " + std::to_string(kSaneFileSize >> 10) + " KiB)";
    } else {
        // One byte more than allowed tells of a file that grew meanwhile.
        std::string text(static_cast<size_t>(kSaneFileSize) + 1, '\0');
        size_t done = 0;
        for (ssize_t got = 1; got != 0 && done < text.size();) {
            got = ::read(file, text.data() + done, text.size() - done);
            if (got < 0 && errno != EINTR) {
                read.error = Reason("cannot read " + path, errno);
                break;
            }
            done += got > 0 ? static_cast<size_t>(got) : 0;
        }
        if (read.error.empty() && done > static_cast<size_t>(kSaneFileSize)) {
            read.error = path + " is too large (over " + std::to_string(kSaneFileSize >> 10) + " KiB)";
        } else if (read.error.empty()) {
            text.resize(done);
            read = UserFileRead{UserFileRead::State::Read, text, status.st_mode & 07777, ""};
        }
    }
    if (file >= 0) {
        close(file);
    }
    return read;
}

FolderLock::FolderLock(const std::string& file, const std::string& waitingLine)
    : folder_(open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (folder_ < 0 || flock(folder_, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
        return;
    }
    std::fprintf(stderr, "%s\n", waitingLine.c_str());
    while (flock(folder_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FolderLock::~FolderLock() {
    if (folder_ >= 0) {
        close(folder_);
    }
}

bool ReadOnly(const std::string& path, mode_t mode) { return (mode & 0222) == 0 || access(path.c_str(), W_OK) != 0; }

bool WriteWhole(const std::string& path, const std::string& text, mode_t mode, std::string* error) {
    struct stat owner {};
    if (stat(path.c_str(), &owner) != 0 && stat(FolderOf(path).c_str(), &owner) != 0) {
        *error = Reason("cannot write " + path, errno);
        return false;
    }
    std::string temporary = path + ".quorbel-XXXXXX";
    const int file = mkstemp(temporary.data());
    if (file < 0) {
        *error = Reason("cannot write beside " + path, errno);
        return false;
    }
    int failure = 0;
    for (size_t done = 0; failure == 0 && done < text.size();) {
        const ssize_t wrote = write(file, text.data() + done, text.size() - done);
        failure = wrote < 0 && errno != EINTR ? errno : wrote == 0 ? EIO : 0;
        done += wrote > 0 ? static_cast<size_t>(wrote) : 0;
    }
    if (failure == 0) {
        failure = TakeOwner(file, owner);
    }
    if (failure == 0 && (fchmod(file, mode) != 0 || fsync(file) != 0)) {
        failure = errno;
    }
    if (close(file) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        *error = Reason("cannot write " + path, failure);
        unlink(temporary.c_str());
    }
    return failure == 0;
}

std::optional<std::vector<std::string>> MakeFolders(const std::string& folder, std::string* error) {
    std::vector<std::string> made;
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        int failure = 0;
        if (mkdir(prefix.c_str(), 0700) == 0) {
            made.push_back(prefix);
            struct stat above {};
            const int opened = open(prefix.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            failure = opened < 0 || stat(FolderOf(prefix).c_str(), &above) != 0 ? errno : TakeOwner(opened, above);
            if (opened >= 0) {
                close(opened);
            }
        } else if (errno != EEXIST || !IsFolder(prefix)) {
            failure = errno == EEXIST ? ENOTDIR : errno;
        }
        if (failure != 0) {
            *error = Reason("cannot make " + prefix, failure);
            RemoveFolders(made);
            return std::nullopt;
        }
        if (slash == std::string::npos) {
            return made;
        }
    }
}

void RemoveFolders(const std::vector<std::string>& folders) {
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        rmdir(folder->c_str());
    }
}
