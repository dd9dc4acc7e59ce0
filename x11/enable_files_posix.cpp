#include "x11/enable_files_posix.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

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
