// quorbel-enable: lists "quorbel --root" among the user's XScreenSaver hacks
// (~/.xscreensaver), turning it on if it was off; --only also makes it the
// one hack shown; --remove takes it out again. Without that file, makes one
// from XScreenSaver's defaults. Changes nothing else, and nothing at all
// when there is nothing to do. Exit code 0, 1 with a message, 2 for a bad
// argument.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "quorbel_version.h"
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

// The manual page's option list is made from these lines.
constexpr char kUsage[] =
    "usage: quorbel-enable [--only | --remove]\n"
    "Adds quorbel to your XScreenSaver screen savers (~/.xscreensaver).\n"
    "  --only                                Also make it the one saver XScreenSaver shows (mode one, selected)\n"
    "  --remove                              Take it out of your list again; run before removing the package\n"
    "  -h, --help                            This text\n"
    "  --version                             The version\n";

enum class Action { Enable, Only, Remove, Help, Version };

std::optional<Action> ActionOf(int argc, char** argv) {
    if (argc == 1) {
        return Action::Enable;
    }
    if (argc > 2) {
        return std::nullopt;
    }
    const std::string word = argv[1];
    for (const auto& [spelling, action] :
         {std::pair{"--only", Action::Only}, std::pair{"--remove", Action::Remove}, std::pair{"--help", Action::Help},
          std::pair{"-h", Action::Help}, std::pair{"--version", Action::Version}}) {
        if (word == spelling) {
            return action;
        }
    }
    return std::nullopt;
}

// What --only replaced, kept for --remove: XScreenSaver's settings program
// rewrites ~/.xscreensaver without lines it does not know.
std::string SelectionFile(const std::string& home) {
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string folder =
        (state != nullptr && *state == '/' ? std::string(state) : home + "/.local/state") + "/quorbel";
    return folder + "/xscreensaver-selection";
}

void KeepSelection(const std::string& file, const Selection& selection) {
    const std::string folder = file.substr(0, file.rfind('/'));
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0700);
    }
    mkdir(folder.c_str(), 0700);
    std::string error;
    if (!WriteFile(file, selection.mode + "\n" + selection.selected + "\n", 0600, &error)) {
        std::fprintf(stderr, "quorbel-enable: %s; --remove will choose random mode\n", error.c_str());
    }
}

std::optional<Selection> KeptSelection(const std::string& file) {
    std::ifstream in(file);
    Selection selection;
    if (!std::getline(in, selection.mode) || !std::getline(in, selection.selected)) {
        return std::nullopt;
    }
    return selection;
}

int Remove(const std::string& path, const std::optional<std::string>& current, mode_t mode,
           const std::string& selectionFile) {
    const std::optional<RemoveResult> result =
        current ? RemoveQuorbel(*current, KeptSelection(selectionFile)) : RemoveResult{0, false, ""};
    if (!result) {
        return Fail("quorbel shares a line with another hack in " + path + "; take it out by hand");
    }
    std::string error;
    if (result->removed > 0 && !WriteFile(path, result->text, mode, &error)) {
        return Fail(error);
    }
    std::remove(selectionFile.c_str());
    rmdir(selectionFile.substr(0, selectionFile.rfind('/')).c_str());  // when nothing else is in it
    if (result->removed == 0) {
        std::printf("quorbel is not among your screen savers in %s\n", path.c_str());
        return 0;
    }
    std::printf("took quorbel out of %s%s\n", path.c_str(),
                result->wasSelected ? "; XScreenSaver no longer shows only Quorbel" : "");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Action> action = ActionOf(argc, argv);
    if (!action) {
        std::fprintf(
            stderr, "quorbel-enable: %s\n%s",
            argc > 2 ? "takes one option at most" : ("unknown option \"" + std::string(argv[1]) + "\"").c_str(),
            kUsage);
        return 2;
    }
    if (*action == Action::Help || *action == Action::Version) {
        std::printf("%s", *action == Action::Help ? kUsage : "quorbel-enable " QUORBEL_VERSION_TEXT "\n");
        return 0;
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
    if (*action == Action::Remove) {
        return Remove(path, exists ? current : std::nullopt, status.st_mode & 07777, SelectionFile(home));
    }
    const std::string before =
        exists ? *current
               : "# XScreenSaver Preferences File\n# Made by quorbel-enable from " + std::string(defaultsPath) + "\n\n";
    const bool only = *action == Action::Only;
    const std::optional<EnableResult> result = EnableQuorbel(before, defaultPrograms, only);
    if (!result) {
        return Fail(std::string("no list of hacks in ") + (exists ? path : std::string()) + (exists ? " nor in " : "") +
                    defaultsPath + "; is XScreenSaver installed?");
    }
    if (result->text == before && exists) {
        std::printf("quorbel is already %s in %s\n", only ? "the one screen saver" : "among your screen savers",
                    path.c_str());
        return 0;
    }
    std::string error;
    if (!WriteFile(path, result->text, exists ? status.st_mode & 07777 : 0644, &error)) {
        return Fail(error);
    }
    if (result->replaced) {
        KeepSelection(SelectionFile(home), *result->replaced);
    }
    const char* done = result->outcome == EnableOutcome::TurnedOn ? "turned quorbel on in"
                       : result->outcome == EnableOutcome::Added  ? "added quorbel to"
                                                                  : "quorbel was on in";
    std::printf("%s %s; %s\n", done, path.c_str(),
                only ? "XScreenSaver now shows only Quorbel" : "choose Quorbel in xscreensaver-settings");
    return 0;
}
