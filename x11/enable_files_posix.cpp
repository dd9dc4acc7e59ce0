#include "x11/enable_files_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::optional<std::string> SettingsPath(const std::string& home, std::string* error) {
    const std::string path = home + "/.xscreensaver";
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        return path;
    }
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        *error = "cannot follow the link " + path + ": " + std::strerror(errno) + "; left as it is";
        return std::nullopt;
    }
    const std::string followed = real;
    std::free(real);
    return followed;
}

FolderLock::FolderLock(const std::string& file)
    : folder_(open(file.substr(0, file.rfind('/') + 1).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    while (folder_ >= 0 && flock(folder_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FolderLock::~FolderLock() {
    if (folder_ >= 0) {
        close(folder_);
    }
}

bool ReadOnly(const std::string& path, mode_t mode) { return (mode & 0222) == 0 || access(path.c_str(), W_OK) != 0; }

bool WriteWhole(const std::string& path, const std::string& text, mode_t mode, std::string* error) {
    std::string temporary = path + ".quorbel-enable-XXXXXX";
    const int file = mkstemp(temporary.data());
    if (file < 0) {
        *error = "cannot write beside " + path + ": " + std::strerror(errno);
        return false;
    }
    int failure = 0;
    for (size_t done = 0; failure == 0 && done < text.size();) {
        const ssize_t wrote = write(file, text.data() + done, text.size() - done);
        failure = wrote < 0 && errno != EINTR ? errno : wrote == 0 ? EIO : 0;
        done += wrote > 0 ? static_cast<size_t>(wrote) : 0;
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
        *error = "cannot write " + path + ": " + std::strerror(failure);
        unlink(temporary.c_str());
    }
    return failure == 0;
}

std::vector<std::string> MakeFolders(const std::string& folder) {
    std::vector<std::string> made;
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (mkdir(prefix.c_str(), 0700) == 0) {
            made.push_back(prefix);
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
