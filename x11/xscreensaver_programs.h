// XScreenSaver lists only the hacks named in its "programs" setting: in the
// user's ~/.xscreensaver, or else in the system's app-defaults file. These
// put "quorbel --root" in the user's list and turn it on, leaving every other
// line of the file as it was. Portable: text in, text out.
//
// The setting's value is one hack per line, each but the last ending in a
// backslash-n and a continuation backslash, as in (with | for a backslash)
//   programs:                                   |
//                   maze --root                 |n|
//   -               pyro --root                 |n|
//     GL:           superquadrics --root        |n
// A leading '-' turns a hack off; a word and a colon names its visual.
// "mode: one" shows only the hack numbered by "selected" (from 0, counting
// every entry of the list, on or off).
#pragma once

#include <optional>
#include <string>

constexpr char kQuorbelHack[] = "quorbel --root";

// Any entry running quorbel counts, whatever options follow.
enum class EnableOutcome {
    AlreadyOn,  // listed and on: the file stays as it is
    TurnedOn,   // listed but off: its '-' removed
    Added,      // appended to the list
};

// The "mode" and "selected" settings' values; empty when the file has none.
struct Selection {
    std::string mode;
    std::string selected;
};

struct EnableResult {
    EnableOutcome outcome;
    std::string text;                   // the whole file afterwards
    std::optional<Selection> replaced;  // with only, when it chose another: what the file chose before
};

// The "programs" setting of an app-defaults file ("*programs: ...") as the
// lines of a user file ("programs: ..."); nothing when it has none.
std::optional<std::string> ProgramsFromDefaults(const std::string& appDefaults);

// Lists quorbel in a user file. A file without a programs setting gets the
// defaults' list (programsFromDefaults, as ProgramsFromDefaults gives it)
// with quorbel added; nothing when that is needed but not given. With only,
// also "mode: one" and "selected" at quorbel's entry; outcome still tells
// what happened to the list.
std::optional<EnableResult> EnableQuorbel(const std::string& userFile,
                                          const std::optional<std::string>& programsFromDefaults, bool only = false);

struct RemoveResult {
    int removed;       // quorbel entries taken out
    bool wasSelected;  // "selected" was one of them
    std::string text;  // the whole file afterwards
};

// Takes every quorbel entry out of the list and numbers "selected" again for
// the entries after them. When quorbel was the one hack shown, the file gets
// back the selection EnableQuorbel replaced (none given: "mode: random",
// XScreenSaver's default, and "selected: -1"). Nothing when an entry shares
// a line with another hack (a layout XScreenSaver never writes), which only
// a person should edit.
std::optional<RemoveResult> RemoveQuorbel(const std::string& userFile, const std::optional<Selection>& replaced);
