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

struct EnableResult {
    EnableOutcome outcome;
    std::string text;  // the whole file afterwards
};

// The "programs" setting of an app-defaults file ("*programs: ...") as the
// lines of a user file ("programs: ..."); nothing when it has none.
std::optional<std::string> ProgramsFromDefaults(const std::string& appDefaults);

// Lists quorbel in a user file. A file without a programs setting gets the
// defaults' list (programsFromDefaults, as ProgramsFromDefaults gives it)
// with quorbel added; nothing when that is needed but not given.
std::optional<EnableResult> EnableQuorbel(const std::string& userFile,
                                          const std::optional<std::string>& programsFromDefaults);
