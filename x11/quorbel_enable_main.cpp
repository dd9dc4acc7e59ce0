// quorbel-enable: lists "quorbel --root" among the user's XScreenSaver hacks
// (~/.xscreensaver), turning it on if it was off. Without that file, makes
// one from XScreenSaver's defaults. Changes nothing else, and nothing at all
// when quorbel is already on. Exit code 0, or 1 with a message.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "x11/xscreensaver_programs.h"

namespace {

constexpr char kAppDefaults[] = "/etc/X11/app-defaults/XScreenSaver";

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

// Through a file beside it and a rename, so XScreenSaver never reads half a
// file; the old file's permissions are kept.
bool WriteFile(const std::string& path, const std::string& text, mode_t mode, std::string* error) {
    const std::string temporary = path + ".quorbel-enable";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = file != nullptr && std::fclose(file) == 0 && ok;
    ok = ok && chmod(temporary.c_str(), mode) == 0 && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
    }
    return ok;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "quorbel-enable: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char**) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: quorbel-enable   (takes no arguments)\n");
        return 2;
    }
    const std::string home = HomeFolder();
    if (home.empty()) {
        return Fail("cannot tell your home folder");
    }
    // A linked file (kept with other dotfiles) is changed where it lies.
    std::string path = home + "/.xscreensaver";
    if (char* real = realpath(path.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    const char* defaultsPath = std::getenv("QUORBEL_XSCREENSAVER_DEFAULTS");
    defaultsPath = defaultsPath != nullptr ? defaultsPath : kAppDefaults;
    const std::optional<std::string> defaults = ReadFile(defaultsPath);
    const std::optional<std::string> defaultPrograms = defaults ? ProgramsFromDefaults(*defaults) : std::nullopt;

    struct stat status {};
    const bool exists = stat(path.c_str(), &status) == 0;
    const std::optional<std::string> current = exists ? ReadFile(path) : std::string();
    if (!current) {
        return Fail("cannot read " + path);
    }
    const std::string before =
        exists ? *current
               : "# XScreenSaver Preferences File\n# Made by quorbel-enable from " + std::string(defaultsPath) + "\n\n";
    const std::optional<EnableResult> result = EnableQuorbel(before, defaultPrograms);
    if (!result) {
        return Fail(std::string("no list of hacks in ") + (exists ? path : std::string()) + (exists ? " nor in " : "") +
                    defaultsPath + "; is XScreenSaver installed?");
    }
    if (result->outcome == EnableOutcome::AlreadyOn) {
        std::printf("quorbel is already among your screen savers in %s\n", path.c_str());
        return 0;
    }
    std::string error;
    if (!WriteFile(path, result->text, exists ? status.st_mode & 07777 : 0644, &error)) {
        return Fail(error);
    }
    std::printf("%s %s; choose Quorbel in xscreensaver-settings\n",
                result->outcome == EnableOutcome::TurnedOn ? "turned quorbel on in" : "added quorbel to", path.c_str());
    return 0;
}
