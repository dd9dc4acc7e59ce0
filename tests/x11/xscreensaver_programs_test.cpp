#include "x11/xscreensaver_programs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Laid out as XScreenSaver writes its files: a setting continues while its
// line ends in a backslash; each hack but the last ends in backslash-n.
const std::string kUserFile =
    "# XScreenSaver Preferences File\n"
    "timeout:\t0:10:00\n"
    "mode:\t\trandom\n"
    "\n"
    "programs:\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "  \"Long one\"\t\tflame --root --iterations 25 --points 10000   \\\n"
    "\t\t\t\t  --delay 50000\t\t\t    \\n\\\n"
    "\t\t\t\tqix --root\t\t\t\t    \\n\n"
    "\n"
    "pointerHysteresis: 10\n";

const std::string kAppDefaults =
    "! comment\n"
    "*mode:\t\t\trandom\n"
    "*textProgram:\tfortune\n"
    "*programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "-\t\t\t\tpyro --root\t\t\t\t    \\n\n"
    "\n"
    "*Dialog.headingFont: sans 10\n";

// Entries of the result, as XScreenSaver would read the value.
std::string Setting(const std::string& text) {
    const size_t start = text.find("programs:");
    size_t end = start;
    while ((end = text.find('\n', end + 1)) != std::string::npos && text[end - 1] == '\\') {
    }
    return text.substr(start, end - start + 1);
}

EnableResult Enable(const std::string& file, const std::optional<std::string>& defaults = std::nullopt) {
    const std::optional<EnableResult> result = EnableQuorbel(file, defaults);
    EXPECT_TRUE(result.has_value());
    return result.value_or(EnableResult{EnableOutcome::AlreadyOn, "", std::nullopt, {}});
}

}  // namespace

TEST(XScreenSaverPrograms, QuorbelIsAddedAsTheLastHackAndNothingElseChanges) {
    const EnableResult result = Enable(kUserFile);
    EXPECT_EQ(result.outcome, EnableOutcome::Added);
    const std::string lastBefore = "\t\t\t\tqix --root\t\t\t\t    \\n\n";
    const size_t qix = kUserFile.find(lastBefore);
    // Everything up to the old last hack, and everything after it, as it was.
    EXPECT_EQ(result.text.substr(0, qix), kUserFile.substr(0, qix));
    EXPECT_EQ(result.text.substr(qix),
              "\t\t\t\tqix --root\t\t\t\t    \\n\\\n"
              "\t\t\t\tquorbel --root \\n\n" +
                  kUserFile.substr(qix + lastBefore.size()));
}

TEST(XScreenSaverPrograms, ASecondRunFindsItAndChangesNothing) {
    const std::string once = Enable(kUserFile).text;
    const EnableResult twice = Enable(once);
    EXPECT_EQ(twice.outcome, EnableOutcome::AlreadyOn);
    EXPECT_EQ(twice.text, once);
}

TEST(XScreenSaverPrograms, AnyQuorbelEntryCountsWhateverItsOptionsVisualOrName) {
    for (const char* entry : {"quorbel --root", "quorbel -root --speed 19", "GL: quorbel --root",
                              "\"Quorbel\" quorbel --root", "/usr/libexec/xscreensaver/quorbel --root"}) {
        const std::string file = "programs: maze --root \\n\\\n  " + std::string(entry) + " \\n\\\n  qix --root\n";
        EXPECT_EQ(Enable(file).outcome, EnableOutcome::AlreadyOn) << entry;
    }
    // Only the program's own name counts.
    EXPECT_EQ(Enable("programs: quorbelish --root \\n\\\n  maze --quorbel\n").outcome, EnableOutcome::Added);
}

TEST(XScreenSaverPrograms, ATurnedOffEntryIsTurnedOnInPlace) {
    const std::string file =
        "programs:\t\\\n\t\tmaze --root\t\\n\\\n-\t\tquorbel --root --speed 3\t\\n\\\n\t\tqix\t\\n\n";
    const EnableResult result = Enable(file);
    EXPECT_EQ(result.outcome, EnableOutcome::TurnedOn);
    EXPECT_EQ(result.text,
              "programs:\t\\\n\t\tmaze --root\t\\n\\\n \t\tquorbel --root --speed 3\t\\n\\\n\t\tqix\t\\n\n");
    EXPECT_EQ(Enable(result.text).outcome, EnableOutcome::AlreadyOn);
}

TEST(XScreenSaverPrograms, ShortAndEmptyListsTakeItToo) {
    EXPECT_EQ(Enable("programs: maze --root\n").text, "programs: maze --root \\n\\\n\t\t\t\tquorbel --root \\n\n");
    EXPECT_EQ(Enable("programs:\n").text, "programs: \\\n\t\t\t\tquorbel --root \\n\n");
    EXPECT_EQ(Enable("Programs:  maze \\n\n").outcome, EnableOutcome::Added) << "keys in any case";
}

TEST(XScreenSaverPrograms, TheDefaultsListBecomesAUserSetting) {
    const std::optional<std::string> programs = ProgramsFromDefaults(kAppDefaults);
    ASSERT_TRUE(programs.has_value());
    EXPECT_EQ(*programs,
              "programs:\t\t\t\t\t\t\t\t      \\\n"
              "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
              "-\t\t\t\tpyro --root\t\t\t\t    \\n\n");
    EXPECT_FALSE(ProgramsFromDefaults("*mode: one\n*programsX: a\n").has_value());
}

TEST(XScreenSaverPrograms, AFileWithoutAListGetsTheDefaultsListWithQuorbel) {
    const std::string file = "timeout: 0:05:00\nlock: False\n";
    const EnableResult result = Enable(file, ProgramsFromDefaults(kAppDefaults));
    EXPECT_EQ(result.outcome, EnableOutcome::Added);
    EXPECT_EQ(result.text.substr(0, file.size() + 1), file + "\n");
    EXPECT_NE(Setting(result.text).find("pyro --root"), std::string::npos);
    EXPECT_NE(Setting(result.text).find("quorbel --root \\n\n"), std::string::npos);
    EXPECT_FALSE(EnableQuorbel(file, std::nullopt).has_value()) << "no list anywhere";
}

TEST(XScreenSaverPrograms, AProgramsWordInsideAnotherSettingIsNotTheList) {
    const std::string file = "textProgram: echo \\\n programs: none\nprograms: maze \\n\n";
    const EnableResult result = Enable(file);
    EXPECT_EQ(result.text, "textProgram: echo \\\n programs: none\nprograms: maze \\n\\\n\t\t\t\tquorbel --root \\n\n");
}

TEST(XScreenSaverPrograms, RemovingUndoesWhatWasChangedAndNumbersTheSelectionAgain) {
    const std::string maze = "\t\tmaze --root \\n\\\n";
    const std::string quorbel = "\t\tquorbel --root --speed 3 \\n\\\n";
    const std::string qix = "\t\tqix --root \\n\\\n";
    const Changes added{EnableOutcome::Added, std::nullopt, {}};
    struct Case {
        const char* what;
        std::optional<Changes> changes;
        std::string before, after;
    } cases[] = {
        {"added, last: the entry before then ends the list", added,
         "programs: \\\n" + maze + "\t\tquorbel --root \\n\n" + "selected:\t0\n",
         "programs: \\\n\t\tmaze --root \\n\nselected:\t0\n"},
        {"added, its options set since, between others, selected after it", added,
         "selected:\t2\nprograms: \\\n" + maze + quorbel + "\t\tqix --root\n",
         "selected:\t1\nprograms: \\\n" + maze + "\t\tqix --root\n"},
        {"added, on the setting's own line, twice", added,
         "programs: quorbel --root \\n\\\n" + qix + quorbel + "\t\tmaze --root\n",
         "programs:\t\\\n" + qix + "\t\tmaze --root\n"},
        {"turned on: turned off again, the dash where it was", Changes{EnableOutcome::TurnedOn, std::nullopt, {}},
         "programs: \\\n" + maze + " \t\tquorbel --root\n", "programs: \\\n" + maze + "-\t\tquorbel --root\n"},
        {"the user's own, on: left alone", Changes{}, "programs: \\\n" + maze + quorbel,
         "programs: \\\n" + maze + quorbel},
        {"no record, shown alone: random mode", std::nullopt,
         "mode:\t\tone\nselected:\t1\nprograms: \\\n" + maze + "\t\tquorbel --root\n",
         "mode:\t\trandom\nselected:\t-1\nprograms: \\\n\t\tmaze --root \\n\n"},
        {"no record: an entry with the user's options turned off, not taken out", std::nullopt,
         "programs: \\\n" + maze + quorbel + "-\t\tquorbel --root --speed 9\n",
         "programs: \\\n" + maze + "-\tquorbel --root --speed 3 \\n\\\n-\t\tquorbel --root --speed 9\n"},
    };
    for (const Case& c : cases) {
        const std::optional<RemoveResult> result = RemoveQuorbel(c.before, c.changes);
        ASSERT_TRUE(result.has_value()) << c.what;
        EXPECT_EQ(result->text, c.after) << c.what;
    }
    // Two hacks on one line are for a person to separate.
    EXPECT_FALSE(RemoveQuorbel("programs: maze --root \\n quorbel --root \\n\\\n  qix --root\n", added));
}

TEST(XScreenSaverPrograms, OnlySelectsQuorbelByItsPlaceAmongAllEntriesAndRemoveGivesTheChoiceBack) {
    const std::string file =
        "mode:\t\tblank\nprograms: \\\n- maze --root \\n\\\n- quorbel --root \\n\\\n  qix --root\n";
    const std::optional<EnableResult> only = EnableQuorbel(file, std::nullopt, true);
    ASSERT_TRUE(only.has_value());
    EXPECT_EQ(only->outcome, EnableOutcome::TurnedOn);
    EXPECT_NE(only->text.find("mode:\t\tone\nselected:\t1\nprograms:"), std::string::npos) << only->text;
    ASSERT_TRUE(only->replaced.has_value());
    EXPECT_EQ(RemoveQuorbel(only->text, Changes{only->outcome, only->replaced, only->layout})->text, file);
}

TEST(XScreenSaverPrograms, AFileMixingLineEndsIsOneToRefuse) {
    const struct {
        const char* text;
        std::optional<std::string> end;
    } cases[] = {
        {"", "\n"},
        {"a\nb", "\n"},
        {"a\r\nb\r\n", "\r\n"},
        {"a\r\nb", "\r\n"},
        {"a\r\nb\n", std::nullopt},
        {"a\rb\n", std::nullopt},
        {"a\n\r", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LineEnd(c.text), c.end) << c.text;
    }
}
