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
// every entry of the list, on or off). Where a setting is given twice,
// XScreenSaver reads the last, and so do these. A file keeps its line ends,
// "\n" or "\r\n", and the lack of one at its end.
#pragma once

#include <cstddef>
#include <cstdint>
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
// hack is the entry selected names, without its on/off dash and blanks
// collapsed (empty when it names none), so that it is found again after the
// list has changed.
struct Selection {
    std::string mode;
    std::string selected;
    std::string hack;
};

// What else it takes to give the user's bytes back exactly.
struct Layout {
    std::optional<size_t> dash;             // turned on: where its dash was, from where the entry may start
    std::string listEnd;                    // added: what the line before the entry gained
    std::optional<std::uint64_t> listHash;  // the list itself added: TextHash of its lines as added
};

struct EnableResult {
    EnableOutcome outcome;
    std::string text;                   // the whole file afterwards
    std::optional<Selection> replaced;  // with only, when it chose another: what the file chose before
    Layout layout;
};

// The line end a file uses throughout, "\n" or "\r\n"; nothing when it
// mixes them or has a carriage return elsewhere, which EnableQuorbel and
// RemoveQuorbel would not keep.
std::optional<std::string> LineEnd(const std::string& text);

// The "programs" setting of an app-defaults file ("*programs: ...") as the
// lines of a user file ("programs: ..."); nothing when it has none.
std::optional<std::string> ProgramsFromDefaults(const std::string& appDefaults);

// Lists quorbel in a user file. A file without a programs setting gets the
// defaults' list (programsFromDefaults, as ProgramsFromDefaults gives it)
// with quorbel added; nothing when that is needed but not given. With only,
// also "mode: one" and "selected" at quorbel's entry (put before the list
// when the file has none); outcome still tells what happened to the list.
std::optional<EnableResult> EnableQuorbel(const std::string& userFile,
                                          const std::optional<std::string>& programsFromDefaults, bool only = false);

// What EnableQuorbel changed, over every run since the list last had no
// change of ours; RemoveQuorbel undoes that and nothing else.
struct Changes {
    EnableOutcome entry = EnableOutcome::AlreadyOn;  // AlreadyOn: the entry was the user's
    std::optional<Selection> replaced;               // what the last --only replaced
    Layout layout;                                   // of the entry's last change and of a list added
};

struct RemoveResult {
    int removed = 0;           // quorbel entries taken out
    int turnedOff = 0;         // quorbel entries turned off
    int kept = 0;              // quorbel entries left on, the user's own
    bool wasSelected = false;  // "selected" named one of them and was changed
    std::string text;          // the whole file afterwards
};

// Undoes changes: takes out the entry EnableQuorbel added (every quorbel
// entry: the list had none), and the list it added while it is still as
// added; turns off again the one it turned on, leaves the user's own; numbers "selected" again for the entries after
// those taken out. When quorbel is still the one hack shown, gives back the selection
// --only replaced, found by its hack. Without changes (the record of them
// lost), takes out the entries laid out as EnableQuorbel writes them and
// turns off any other, so that nothing the user wrote goes; then a hack
// shown alone gives way to "mode: random", XScreenSaver's default, and
// "selected: -1". Nothing when an entry to change shares a line with another
// hack (a layout XScreenSaver never writes), which only a person should edit.
std::optional<RemoveResult> RemoveQuorbel(const std::string& userFile, const std::optional<Changes>& changes);
