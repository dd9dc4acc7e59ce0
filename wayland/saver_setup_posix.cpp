#include "wayland/saver_setup_posix.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "user_files/text_hash.h"
#include "user_files/user_files_posix.h"
#include "wayland/saver_setup.h"
#include "wayland/session_waiter_posix.h"
#include "wayland/wayland_settings_file.h"

namespace {

constexpr char kProgram[] = "quorbel-wayland";

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return 1;
}

struct Setup {
    std::string home;
    SetupFiles files;
};

std::optional<Setup> SetupOfUser(std::string* error) {
    const std::string home = HomeFolder();
    if (home.empty() || home[0] != '/') {
        *error = home.empty() ? "cannot tell your home folder" : "HOME (\"" + home + "\") is not a full path";
        return std::nullopt;
    }
    return Setup{home, SetupFilesUnder(XdgFolder("XDG_CONFIG_HOME", home, ".config"),
                                       XdgFolder("XDG_STATE_HOME", home, ".local/state"))};
}

// The record, read under the lock: nothing when missing or not a record.
std::optional<SetupRecord> KeptRecord(const std::string& path, std::string* error) {
    const UserFileRead read = ReadUserFile(path);
    if (read.state == UserFileRead::State::Refused) {
        *error = read.error + ", not a record of " + kProgram + "'s; move it away and run this again";
    }
    return read.state == UserFileRead::State::Read ? ParseSetupRecord(read.text) : std::nullopt;
}

// One file --enable writes: what is there, and what it is to hold.
struct Planned {
    std::string path;
    UserFileRead before;
    std::string text;
};

bool Unchanged(const Planned& file) {
    return file.before.state == UserFileRead::State::Read && file.before.text == file.text;
}

// action(files, record) for the user, under the lock that makes runs take
// turns, with the record read; or the reason it cannot be done.
template <typename Action>
int WithRecord(Action action) {
    std::string error;
    const std::optional<Setup> setup = SetupOfUser(&error);
    if (!setup) {
        return Fail(error + "; left everything as it is");
    }
    const FolderLock lock(setup->home + "/", std::string(kProgram) + ": waiting for another --enable or --remove");
    const std::optional<SetupRecord> record = KeptRecord(setup->files.record, &error);
    return error.empty() ? action(setup->files, record) : Fail(error);
}

int Enable(const SetupFiles& files, const std::optional<SetupRecord>& record, const WaylandOptions& options, int argc,
           const char* const* argv) {
    std::string error;
    const bool sway = SwaySession();
    Planned settings{files.settings, ReadUserFile(files.settings), ""};
    Planned entry{files.autostartEntry, ReadUserFile(files.autostartEntry), AutostartEntryText()};
    for (const Planned* file : {&settings, &entry}) {
        if (file->before.state == UserFileRead::State::Refused) {
            return Fail(file->before.error + "; left everything as it is");
        }
    }
    // An entry of that name that is not ours is the user's (or another
    // program's); one of ours changed since is left as it is.
    const bool entryOurs = record && RecordedFile(*record, entry.path);
    if (!sway && entry.before.state == UserFileRead::State::Read && !Unchanged(entry) && !entryOurs) {
        return Fail(entry.path + " is not one " + kProgram + " --enable made; left everything as it is");
    }
    // The idle time given, or else the file's, or else the default.
    const WaylandSettingsFile fileBefore = ReadWaylandSettingsFile(settings.before.text);
    const uint32_t seconds = options.enableSeconds.value_or(fileBefore.idleSeconds.value_or(kDefaultIdleSeconds));
    std::vector<SettingLine> lines = GivenSettingOptions(argc, argv);
    if (options.enableSeconds || !fileBefore.idleSeconds) {
        lines.insert(lines.begin(), {"idle", std::to_string(seconds)});
    }
    settings.text = WithSettingLines(settings.before.text, lines);

    // Every folder first, so that a run that cannot make one changes nothing.
    std::vector<std::string> folders{FolderOf(files.settings), FolderOf(files.record)};
    if (!sway) {
        folders.push_back(FolderOf(files.autostartEntry));
    }
    std::vector<std::string> made;
    for (const std::string& folder : folders) {
        const std::optional<std::vector<std::string>> madeNow = MakeFolders(folder, &error);
        if (!madeNow) {
            RemoveFolders(made);
            return Fail(error + "; left everything as it is");
        }
        made.insert(made.end(), madeNow->begin(), madeNow->end());
    }
    SetupRecord next = record.value_or(SetupRecord{});
    next.madeFolders.insert(next.madeFolders.end(), made.begin(), made.end());
    next.sway = next.sway || sway;
    std::vector<const Planned*> written;
    // What this run wrote taken back, when the rest cannot be done.
    auto undo = [&] {
        for (const Planned* file : written) {
            std::string ignored;
            if (file->before.state == UserFileRead::State::Missing) {
                std::remove(file->path.c_str());
            } else {
                WriteWhole(file->path, file->before.text, file->before.mode, &ignored);
            }
        }
        RemoveFolders(made);
    };
    auto write = [&](const Planned& file) {
        const bool missing = file.before.state == UserFileRead::State::Missing;
        if (!WriteWhole(file.path, file.text, missing ? 0644 : file.before.mode, &error)) {
            return false;
        }
        written.push_back(&file);
        // Made, or the user's and edited: then --remove puts back what it
        // held before the first edit.
        const SetupRecord::File* known = record ? RecordedFile(*record, file.path) : nullptr;
        const std::optional<std::string> before = known     ? known->before
                                                  : missing ? std::nullopt
                                                            : std::optional<std::string>(file.before.text);
        next.files.erase(std::remove_if(next.files.begin(), next.files.end(),
                                        [&](const SetupRecord::File& f) { return f.path == file.path; }),
                         next.files.end());
        next.files.push_back({file.path, TextHash(file.text), before});
        return true;
    };
    if ((!Unchanged(settings) && !write(settings)) ||
        (!sway && entry.before.state == UserFileRead::State::Missing && !write(entry)) ||
        !WriteWhole(files.record, SetupRecordText(next), 0600, &error)) {
        undo();
        return Fail(error + "; left everything as it was");
    }

    // Now, without a logout: a waiter started afresh, so that it reads the
    // idle time just written.
    const std::string sessionLock = SessionLock();
    std::string now = "at your next Wayland login (this is no Wayland session)";
    if (!sessionLock.empty()) {
        const std::optional<pid_t> old = StopWaiter(sessionLock, &error);
        const std::optional<pid_t> waiter =
            error.empty() ? StartWaiter(kProgram, seconds, sessionLock, &error) : std::nullopt;
        if (!waiter) {
            std::string ignored;
            if (record) {
                WriteWhole(files.record, SetupRecordText(*record), 0600, &ignored);
            } else {
                std::remove(files.record.c_str());
            }
            undo();
            return Fail(error + "; left the files as they were");
        }
        now = std::string(old ? "restarted" : "started") + " the waiter (process " + std::to_string(*waiter) + ")";
    }
    const std::string login = sway ? "sway reads no autostart folder: add the line \"exec " +
                                         std::string(kWaiterCommand) + "\" to your sway configuration"
                                   : "at every login through " + files.autostartEntry;
    std::printf("the saver shows after %u seconds without input: %s; %s; settings in %s\n", seconds, now.c_str(),
                login.c_str(), files.settings.c_str());
    return 0;
}

int Remove(const SetupFiles& files, const std::optional<SetupRecord>& record) {
    std::string error;
    std::vector<std::string> done;
    const std::string sessionLock = SessionLock();
    if (const std::optional<pid_t> waiter = sessionLock.empty() ? std::nullopt : StopWaiter(sessionLock, &error)) {
        done.push_back("stopped the waiter (process " + std::to_string(*waiter) + ")");
    }
    if (!error.empty()) {
        return Fail(error + "; left the files as they are");
    }
    // Without a record, only an entry that is word for word ours is ours.
    SetupRecord known =
        record.value_or(SetupRecord{{{files.autostartEntry, TextHash(AutostartEntryText()), std::nullopt}}, {}, false});
    std::vector<std::string> kept;
    for (const SetupRecord::File& file : known.files) {
        const UserFileRead now = ReadUserFile(file.path);
        if (now.state == UserFileRead::State::Read && TextHash(now.text) == file.hash && file.before) {
            if (!WriteWhole(file.path, *file.before, now.mode, &error)) {
                return Fail(error);
            }
            done.push_back("put back " + file.path + " as it was");
        } else if (now.state == UserFileRead::State::Read && TextHash(now.text) == file.hash) {
            if (std::remove(file.path.c_str()) != 0) {
                return Fail("cannot remove " + file.path + ": " + std::strerror(errno));
            }
            done.push_back("took away " + file.path);
        } else if (now.state != UserFileRead::State::Missing && record) {
            kept.push_back(file.path);
        }
    }
    std::remove(files.record.c_str());
    RemoveFolders(known.madeFolders);
    std::string line = done.empty() ? "nothing of --enable's to remove" : done[0];
    for (size_t i = 1; i < done.size(); ++i) {
        line += ", " + done[i];
    }
    for (const std::string& path : kept) {
        line += "; kept " + path + ", changed since --enable wrote it";
    }
    if (known.sway || SwaySession()) {
        line += "; delete the line \"exec " + std::string(kWaiterCommand) + "\" from your sway configuration";
    }
    std::printf("%s\n", line.c_str());
    return 0;
}

// The user's settings file, each bad line named on stderr; one that cannot
// be read counts as empty.
WaylandSettingsFile UserSettingsFile() {
    std::string problem;
    const std::optional<Setup> setup = SetupOfUser(&problem);
    const UserFileRead read = setup ? ReadUserFile(setup->files.settings) : UserFileRead{};
    if (read.state == UserFileRead::State::Refused) {
        std::fprintf(stderr, "%s: %s; the defaults used\n", kProgram, read.error.c_str());
    }
    WaylandSettingsFile file = ReadWaylandSettingsFile(read.state == UserFileRead::State::Read ? read.text : "");
    for (const std::string& line : file.problems) {
        std::fprintf(stderr, "%s: %s %s\n", kProgram, setup->files.settings.c_str(), line.c_str());
    }
    return file;
}

}  // namespace

int EnableSaver(const WaylandOptions& options, int argc, const char* const* argv) {
    return WithRecord([&](const SetupFiles& files, const std::optional<SetupRecord>& record) {
        return Enable(files, record, options, argc, argv);
    });
}

int RemoveSaver() { return WithRecord(Remove); }

bool OptionsOverSettingsFile(int argc, const char* const* argv, WaylandOptions* options, std::string* error) {
    return ParseWaylandOptionsOverFile(UserSettingsFile(), argc, argv, options, error);
}

uint32_t SettingsFileIdleSeconds() { return UserSettingsFile().idleSeconds.value_or(kDefaultIdleSeconds); }
