// quorbel-wayland --enable's portable parts: the settings file read and
// edited, the command line that asks for it, the record --remove follows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wayland/saver_setup.h"
#include "wayland/wayland_settings_file.h"

namespace {

TEST(WaylandSettingsFile, GoodLinesAreOptionsUnderTheCommandLineAndBadOnesAreNamed) {
    const WaylandSettingsFile file =
        ReadWaylandSettingsFile("# mine\n\nidle 600\nspeed 99\n  --generations=40\r\ncolour red\n-speed 7\nidle x");
    EXPECT_EQ(file.idleSeconds, std::nullopt) << "the last idle line counts, and it is bad";
    EXPECT_EQ(file.arguments, (std::vector<std::string>{"--generations", "40", "--speed", "7"}));
    EXPECT_EQ(file.problems,
              (std::vector<std::string>{"line 4: --speed takes 0..19 or random, not \"99\"; the default, 5, used",
                                        "line 6: \"colour\" is not a setting; ignored",
                                        "line 8: idle takes 1..86400 seconds, not \"x\"; the default, 300, used"}));

    const char* const commandLine[] = {"quorbel-wayland", "--speed", "12"};
    WaylandOptions options;
    std::string error;
    ASSERT_TRUE(ParseWaylandOptionsOverFile(file, 3, commandLine, &options, &error)) << error;
    EXPECT_EQ(options.saver.settings.Speed, 12u) << "the command line wins";
    EXPECT_EQ(options.saver.settings.Generations, 40u) << "the file's where the command line says nothing";
}

TEST(WaylandSettingsFile, EnableSetsItsLinesAndKeepsEveryOtherByte) {
    const struct {
        const char* before;
        std::vector<SettingLine> lines;
        const char* after;
    } cases[] = {
        {"speed 3\n# mine\n\tspeed=4\nwrap on\n", {{"speed", "9"}}, "speed 3\n# mine\nspeed 9\nwrap on\n"},
        {"species 6", {{"species", "3"}}, "species 3"},
        {"wrap on", {{"idle", "60"}, {"wrap", "off"}}, "wrap off\nidle 60\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithSettingLines(c.before, c.lines), c.after) << c.before;
    }
    const std::string made = WithSettingLines("", {{"idle", "300"}});
    EXPECT_EQ(ReadWaylandSettingsFile(made).idleSeconds, 300u) << made;
    EXPECT_TRUE(ReadWaylandSettingsFile(made).problems.empty()) << made;
}

TEST(WaylandOptions, EnableTakesSecondsWhenGivenAndRemoveTakesNothing) {
    const struct {
        std::vector<const char*> arguments;
        std::optional<uint32_t> seconds;  // for the accepted
        const char* error;                // for the refused
    } cases[] = {
        {{"--enable"}, std::nullopt, nullptr},
        {{"--enable", "600", "--speed", "3"}, 600u, nullptr},
        {{"--enable", "--speed", "3"}, std::nullopt, nullptr},
        {{"-enable=60"}, 60u, nullptr},
        {{"--enable", "0"}, std::nullopt, "--enable takes 1..86400 seconds, not \"0\""},
        {{"--enable", "--window"}, std::nullopt, "--enable and --remove take no --window, --ticks or --scale"},
        {{"--remove", "--speed", "3"}, std::nullopt, "--remove takes no settings options"},
        {{"--enable", "--remove"}, std::nullopt, "--enable and --remove do not go together"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"quorbel-wayland"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        WaylandOptions options;
        std::string error;
        const bool accepted = ParseWaylandOptions(static_cast<int>(argv.size()), argv.data(), &options, &error);
        EXPECT_EQ(accepted, c.error == nullptr) << c.arguments[0] << " " << c.arguments.size() << ": " << error;
        EXPECT_EQ(accepted ? options.enableSeconds : std::nullopt, c.seconds) << c.arguments.size();
        EXPECT_EQ(error, c.error ? c.error : "");
    }
    const char* const given[] = {"quorbel-wayland", "--enable", "600", "--speed=3", "--ticks", "2", "-species", "6"};
    EXPECT_EQ(GivenSettingOptions(8, given), (std::vector<SettingLine>{{"speed", "3"}, {"species", "6"}}));
}

TEST(SetupRecord, ItsTextKeepsPathsWithBlanksAndAnEmptyOneIsNone) {
    SetupRecord record;
    record.files = {{"/home/a b/.config/quorbel/quorbel-wayland.conf", 0x0123456789abcdefu, "# mine\\n\nspeed 3"},
                    {"/home/a b/.config/autostart/quorbel-wayland.desktop", 1u, std::nullopt}};
    record.madeFolders = {"/home/a b/.config", "/home/a b/.config/quorbel"};
    record.sway = true;
    const std::optional<SetupRecord> read = ParseSetupRecord(SetupRecordText(record));
    ASSERT_TRUE(read.has_value()) << SetupRecordText(record);
    EXPECT_EQ(SetupRecordText(*read), SetupRecordText(record));
    const SetupRecord::File* edited = RecordedFile(*read, record.files[0].path);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->hash, 0x0123456789abcdefu);
    EXPECT_EQ(edited->before, record.files[0].before) << "the user's bytes to put back";
    for (const char* text :
         {"", "made 12 /x\n", "folder relative\n", "sway please\n", "edited 0123456789abcdef /x\n", "was lost\n"}) {
        EXPECT_FALSE(ParseSetupRecord(text).has_value()) << text;
    }
    EXPECT_TRUE(IsSway("", "sway"));
    EXPECT_TRUE(IsSway("/run/user/1000/sway-ipc.sock", ""));
    EXPECT_FALSE(IsSway("", "GNOME:swayish"));
}

}  // namespace
