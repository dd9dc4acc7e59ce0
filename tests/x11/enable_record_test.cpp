#include "x11/enable_record.h"

#include <gtest/gtest.h>

#include <string>

TEST(EnableRecord, RunsAddUpToWhatTheyChangedAndTheTextKeepsIt) {
    const Selection random{"random", "2", "\"Long one\" GL: flame --root"};
    // The first run makes the file and adds quorbel; the user turns it off,
    // another run turns it on and, with --only, replaces the user's choice.
    EnableRecord record = Updated(
        std::nullopt, std::nullopt,
        EnableResult{EnableOutcome::Added, "made", std::nullopt, Layout{std::nullopt, " \\n\\", 0x0123456789abcdefu}});
    record.madeFolders = {"/home/u/.local", "/home/u/.local/state"};
    record = Updated(record, std::string("made"),
                     EnableResult{EnableOutcome::TurnedOn, "mine", random, Layout{2, "", std::nullopt}});
    EXPECT_EQ(record.changes.entry, EnableOutcome::Added) << "its own entry is still its own";
    EXPECT_EQ(record.madeFile, TextHash("mine"));
    const std::optional<EnableRecord> read = ParseRecord(RecordText(record));
    ASSERT_TRUE(read.has_value()) << RecordText(record);
    EXPECT_EQ(RecordText(*read), RecordText(record));
    ASSERT_TRUE(read->changes.replaced.has_value());
    EXPECT_EQ(read->changes.replaced->hack, random.hack);
    EXPECT_EQ(read->madeFolders, record.madeFolders);
    EXPECT_EQ(read->changes.layout.listEnd, " \\n\\") << "what the list's last line gained, spaces and all";
    EXPECT_EQ(read->changes.layout.listHash, 0x0123456789abcdefu);

    // Once someone else has written the file, it is no longer one to remove.
    record = Updated(record, std::string("theirs"), EnableResult{EnableOutcome::AlreadyOn, "again", std::nullopt, {}});
    EXPECT_FALSE(record.madeFile.has_value());
    EXPECT_EQ(record.changes.entry, EnableOutcome::Added);
    // A text that is no record counts as none.
    EXPECT_FALSE(ParseRecord("mode one\n").has_value());
    EXPECT_FALSE(ParseRecord("made 12\n").has_value());
    EXPECT_FALSE(ParseRecord("").has_value()) << "an emptied record is no proof that nothing was done";
}
