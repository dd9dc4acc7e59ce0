// quorbel-enable: lists "quorbel --root" among the user's XScreenSaver hacks
// (~/.xscreensaver), turning it on if it was off; --only also makes it the
// one hack shown; --remove takes it out again. Without that file, makes one
// from XScreenSaver's defaults. Changes nothing else, and nothing at all
// when there is nothing to do; --remove undoes only what it did, as its
// record tells. Exit code 0, 1 with a message (the file left as it was), 2
// for a bad argument. Run by root on a user's home, what it writes stays the
// user's.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "settings/command_line_options.h"
#include "user_files/user_files_posix.h"
#include "x11/enable_files_posix.h"
#include "x11/enable_record.h"
#include "x11/xscreensaver_programs.h"

namespace {

constexpr char kAppDefaults[] = "/etc/X11/app-defaults/XScreenSaver";

int Fail(const std::string& message) {
    std::fprintf(stderr, "quorbel-enable: %s\n", message.c_str());
    return 1;
}

// The manual page's option list is made from these lines.
constexpr char kUsage[] =
    "usage: quorbel-enable [--only | --remove]\n"
    "Adds quorbel to your XScreenSaver screen savers (~/.xscreensaver).\n"
    "  --only                                Also make it the one saver XScreenSaver shows (mode one, selected)\n"
    "  --remove                              Undo what it changed; run before removing the package\n"
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

std::string RecordFile(const std::string& home) {
    return XdgFolder("XDG_STATE_HOME", home, ".local/state") + "/quorbel/xscreensaver-changes";
}

void DropRecord(const std::string& file, const std::optional<EnableRecord>& record) {
    std::remove(file.c_str());
    if (record) {
        RemoveFolders(record->madeFolders);
    }
}

// What is in ~/.xscreensaver, read under the lock.
struct UserFile {
    std::string path;
    bool exists;
    mode_t mode;
    std::string text;
};

// The file as it was before a run whose record could not be kept.
void PutBack(const UserFile& file) {
    std::string error;
    if (file.exists ? !WriteWhole(file.path, file.text, file.mode, &error) : std::remove(file.path.c_str()) != 0) {
        std::fprintf(stderr, "quorbel-enable: cannot put %s back either\n", file.path.c_str());
    }
}

int Remove(const UserFile& file, const std::optional<EnableRecord>& record, const std::string& recordFile) {
    const std::optional<RemoveResult> result =
        RemoveQuorbel(file.text, record ? std::optional<Changes>(record->changes) : std::nullopt);
    if (!result) {
        return Fail("quorbel shares a line with another hack in " + file.path + "; take it out by hand");
    }
    // A file it made and nobody has changed since goes as a whole.
    const bool made = file.exists && record && record->madeFile == TextHash(file.text);
    const bool changes = made || result->text != file.text;
    if (changes && ReadOnly(file.path, file.mode)) {
        return Fail(file.path + " is read-only; left as it is");
    }
    std::string error;
    if (made && std::remove(file.path.c_str()) != 0) {
        return Fail("cannot remove " + file.path + ": " + std::strerror(errno));
    }
    if (!made && changes && !WriteWhole(file.path, result->text, file.mode, &error)) {
        return Fail(error);
    }
    DropRecord(recordFile, record);
    if (made) {
        std::printf("removed %s, which quorbel-enable had made\n", file.path.c_str());
        return 0;
    }
    const char* kept = result->kept > 0 ? "; the quorbel entry that was there before stays" : "";
    if (result->removed > 0 || result->turnedOff > 0) {
        std::printf("%s %s%s%s\n", result->removed > 0 ? "took quorbel out of" : "turned quorbel off in",
                    file.path.c_str(), result->wasSelected ? "; XScreenSaver no longer shows only Quorbel" : "", kept);
    } else if (result->wasSelected) {
        std::printf("XScreenSaver shows again what it showed before quorbel-enable --only in %s%s\n", file.path.c_str(),
                    kept);
    } else {
        std::printf(
            "%s in %s\n",
            result->kept > 0 ? "nothing of quorbel-enable's to undo" : "quorbel is not among your screen savers",
            file.path.c_str());
    }
    return 0;
}

int Enable(const UserFile& file, const std::optional<EnableRecord>& record, const std::string& recordFile, bool only) {
    const char* defaultsPath = std::getenv("QUORBEL_XSCREENSAVER_DEFAULTS");
    defaultsPath = defaultsPath != nullptr ? defaultsPath : kAppDefaults;
    const UserFileRead defaults = ReadUserFile(defaultsPath);
    const std::optional<std::string> defaultPrograms =
        defaults.state == UserFileRead::State::Read ? ProgramsFromDefaults(defaults.text) : std::nullopt;
    const std::string before = file.exists ? file.text
                                           : "# XScreenSaver Preferences File\n# Made by quorbel-enable from " +
                                                 std::string(defaultsPath) + "\n\n";
    const std::optional<EnableResult> result = EnableQuorbel(before, defaultPrograms, only);
    if (!result) {
        return Fail(std::string("no list of hacks in ") + (file.exists ? file.path + " nor in " : std::string()) +
                    defaultsPath + "; is XScreenSaver installed?");
    }
    if (result->text == before && file.exists) {
        std::printf("quorbel is already %s in %s\n", only ? "the one screen saver" : "among your screen savers",
                    file.path.c_str());
        return 0;
    }
    if (file.exists && ReadOnly(file.path, file.mode)) {
        return Fail(file.path + " is read-only; left as it is");
    }
    // The record's folder first, so that a run which cannot keep a record
    // changes nothing.
    std::string error;
    const std::optional<std::vector<std::string>> made = MakeFolders(FolderOf(recordFile), &error);
    if (!made) {
        return Fail(error + "; " + file.path + " left as it is");
    }
    if (!WriteWhole(file.path, result->text, file.exists ? file.mode : 0644, &error)) {
        RemoveFolders(*made);
        return Fail(error);
    }
    EnableRecord next = Updated(record, file.exists ? std::optional<std::string>(file.text) : std::nullopt, *result);
    next.madeFolders.insert(next.madeFolders.end(), made->begin(), made->end());
    if (!WriteWhole(recordFile, RecordText(next), 0600, &error)) {
        PutBack(file);
        RemoveFolders(*made);
        return Fail(error + "; " + file.path + " left as it was");
    }
    const char* done = result->outcome == EnableOutcome::TurnedOn ? "turned quorbel on in"
                       : result->outcome == EnableOutcome::Added  ? "added quorbel to"
                                                                  : "quorbel was on in";
    std::printf("%s %s; %s\n", done, file.path.c_str(),
                only ? "XScreenSaver now shows only Quorbel" : "choose Quorbel in xscreensaver-settings");
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
        return AnswerRequest(*action == Action::Help ? ProgramRequest::Help : ProgramRequest::Version, kUsage,
                             "quorbel-enable");
    }
    const std::string home = HomeFolder();
    if (home.empty()) {
        return Fail("cannot tell your home folder");
    }
    if (home[0] != '/') {
        return Fail("HOME (\"" + home + "\") is not a full path; left everything as it is");
    }
    std::string error;
    const std::optional<std::string> path = SettingsPath(home, &error);
    if (!path) {
        return Fail(error);
    }
    // Runs at once take turns from here: each reads what the one before wrote.
    const FolderLock lock(*path, "quorbel-enable: waiting for another quorbel-enable to finish");
    const UserFileRead read = ReadUserFile(*path);
    if (read.state == UserFileRead::State::Refused) {
        return Fail(read.error + "; left as it is");
    }
    const UserFile file{*path, read.state == UserFileRead::State::Read, read.mode, read.text};
    if (!LineEnd(file.text)) {
        return Fail(file.path + " mixes line ends; make them all \\n or all \\r\\n, and run this again");
    }
    // A record that says nothing is no proof that nothing was done: it
    // counts as lost, as a missing one does. One that is no file of ours is
    // left for a person to look at.
    const std::string recordFile = RecordFile(home);
    const UserFileRead recordRead = ReadUserFile(recordFile);
    if (recordRead.state == UserFileRead::State::Refused) {
        return Fail(recordRead.error + ", not a record of quorbel-enable's; move it away and run this again");
    }
    const std::optional<EnableRecord> record =
        recordRead.state == UserFileRead::State::Read ? ParseRecord(recordRead.text) : std::nullopt;
    if (*action == Action::Remove) {
        return Remove(file, record, recordFile);
    }
    return Enable(file, record, recordFile, *action == Action::Only);
}
