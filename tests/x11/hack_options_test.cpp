#include "x11/hack_options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Outcome {
    bool ok;
    HackOptions options;
    std::string error;
};

Outcome Parse(std::vector<const char*> args, const char* environment = nullptr) {
    args.insert(args.begin(), "quorbel");
    Outcome outcome{};
    outcome.ok =
        ParseHackOptions(static_cast<int>(args.size()), args.data(), environment, &outcome.options, &outcome.error);
    return outcome;
}

}  // namespace

TEST(WindowId, DecimalAndHexAsXScreenSaverWritesThem) {
    EXPECT_EQ(ParseWindowId("4194311"), 4194311ul);
    EXPECT_EQ(ParseWindowId("0x400007"), 0x400007ul);
    EXPECT_EQ(ParseWindowId("0XABCDEF"), 0xABCDEFul);
    EXPECT_EQ(ParseWindowId(" 0x1e00003\n"), 0x1e00003ul);
    EXPECT_EQ(ParseWindowId("4294967295"), 4294967295ul);
    EXPECT_EQ(ParseWindowId("0xffffffff"), 4294967295ul);
}

TEST(WindowId, RefusesNoneJunkSignsAndOverflow) {
    for (const char* text :
         {"", " ", "0", "0x0", "0x", "-5", "+5", "12ab", "0x12g", "4294967296", "0x100000000", "1 2", "x10"}) {
        EXPECT_FALSE(ParseWindowId(text).has_value()) << '"' << text << '"';
    }
}

TEST(HackOptions, DefaultsAreOwnWindowDefaultSettingsAndNoTickLimit) {
    const Outcome outcome = Parse({});
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(outcome.options.window, WindowChoice::Own);
    EXPECT_TRUE(outcome.options.display.empty());
    EXPECT_FALSE(outcome.options.program.ticks.has_value());
    EXPECT_FALSE(outcome.options.program.saver.seed.has_value());
    const Settings defaults = DefaultSettings();
    EXPECT_EQ(std::memcmp(&outcome.options.program.saver.settings, &defaults, sizeof defaults), 0);
}

TEST(HackOptions, OneOrTwoDashesAndAttachedValues) {
    for (const auto& args : std::vector<std::vector<const char*>>{
             {"-root", "-display", ":5", "-ticks", "7", "-speed", "19"},
             {"--root", "--display=:5", "--ticks=7", "--speed=19"},
         }) {
        const Outcome outcome = Parse(args);
        ASSERT_TRUE(outcome.ok) << outcome.error;
        EXPECT_EQ(outcome.options.window, WindowChoice::Root);
        EXPECT_EQ(outcome.options.display, ":5");
        EXPECT_EQ(outcome.options.program.ticks, 7u);
        EXPECT_EQ(outcome.options.program.saver.settings.Speed, 19u);
    }
    EXPECT_EQ(Parse({}).options.program.scale, 0);
    EXPECT_EQ(Parse({"--scale", "3"}).options.program.scale, 3);
    EXPECT_EQ(Parse({"--scale=2", "--scale=auto"}).options.program.scale, 0);
}

TEST(HackOptions, SettingsOptionsMixWithWindowOptions) {
    const Outcome outcome = Parse({"--life", "off", "--window-id", "0x2a", "--cell-size", "SMALL", "--seed", "9"});
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(outcome.options.window, WindowChoice::Id);
    EXPECT_EQ(outcome.options.windowId, 42ul);
    EXPECT_EQ(outcome.options.program.saver.settings.LifeGame, OnOffRandom::Off);
    EXPECT_EQ(outcome.options.program.saver.settings.Size, CellSize::Small);
    EXPECT_EQ(outcome.options.program.saver.seed, 9u);
}

TEST(HackOptions, XScreenSaverWindowNamesTheWindowUnlessAWindowOptionSaysOtherwise) {
    EXPECT_EQ(Parse({}, "0x600001").options.window, WindowChoice::Id);
    const Outcome underRoot = Parse({"--root"}, "6291457");
    EXPECT_EQ(underRoot.options.window, WindowChoice::Id);
    EXPECT_EQ(underRoot.options.windowId, 6291457ul);
    EXPECT_EQ(Parse({"--window"}, "0x600001").options.window, WindowChoice::Own);
    const Outcome explicitId = Parse({"--window-id", "77"}, "0x600001");
    EXPECT_EQ(explicitId.options.windowId, 77ul);
    EXPECT_EQ(Parse({"--root"}, "").options.window, WindowChoice::Root);
}

TEST(HackOptions, TheLastWindowOptionWins) {
    EXPECT_EQ(Parse({"--window-id", "5", "--root"}).options.window, WindowChoice::Root);
    EXPECT_EQ(Parse({"--root", "--window"}).options.window, WindowChoice::Own);
    // --root after --window gives the window back to XSCREENSAVER_WINDOW.
    EXPECT_EQ(Parse({"--window", "--root"}, "0x10").options.window, WindowChoice::Id);
}

TEST(HackOptions, EachBadArgumentNamesItselfAndWhatIsAccepted) {
    struct Case {
        std::vector<const char*> args;
        const char* environment;
        std::vector<const char*> expected;  // pieces of the one-line message
    };
    const Case cases[] = {
        {{"--frobnicate"}, nullptr, {"--frobnicate", "--root", "--window-id", "--speed", "--seed"}},
        {{"stray"}, nullptr, {"\"stray\"", "--root"}},
        {{"--window-id", "zz"}, nullptr, {"--window-id", "0x-hex", "\"zz\""}},
        {{"--window-id"}, nullptr, {"--window-id", "\"\""}},
        {{"--ticks", "-1"}, nullptr, {"--ticks", "0..4294967295", "\"-1\""}},
        {{"--ticks", "4294967296"}, nullptr, {"--ticks"}},
        {{"--display"}, nullptr, {"--display"}},
        {{"--scale", "5"}, nullptr, {"--scale", "auto", "1..4", "\"5\""}},
        {{"--scale", "0"}, nullptr, {"--scale", "\"0\""}},
        {{"--root=yes"}, nullptr, {"--root", "no value"}},
        {{"--speed", "20"}, nullptr, {"--speed", "0..19", "random"}},
        {{"--wriggle", "maybe"}, nullptr, {"--wriggle", "\"maybe\""}},
        {{"--species"}, nullptr, {"--species"}},
        {{}, "window", {"XSCREENSAVER_WINDOW", "\"window\""}},
    };
    for (const Case& c : cases) {
        const Outcome outcome = Parse(c.args, c.environment);
        const std::string shown = c.args.empty() ? "(environment)" : c.args[0];
        EXPECT_FALSE(outcome.ok) << shown;
        EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << outcome.error;
        for (const char* piece : c.expected) {
            EXPECT_NE(outcome.error.find(piece), std::string::npos)
                << shown << ": \"" << outcome.error << "\" lacks " << piece;
        }
    }
}

TEST(HackOptions, HelpIsAnOptionLikeTheOthersAndTheUsageListsEveryOption) {
    EXPECT_EQ(Parse({"--speed", "3", "-help"}).options.program.request, ProgramRequest::Help);
    EXPECT_EQ(Parse({"-h"}).options.program.request, ProgramRequest::Help);
    EXPECT_EQ(Parse({"--version", "--help"}).options.program.request, ProgramRequest::Version);
    EXPECT_FALSE(Parse({"--version=2"}).ok);
    EXPECT_FALSE(Parse({"--speed", "30", "--help"}).ok);
    const std::string usage = HackUsage();
    for (const char* option :
         {"--root", "--window ", "--window-id", "--display", "--ticks", "--speed", "--cell-size", "--wriggle",
          "--shrink", "--life", "--wrap", "--species", "--generations", "--seed", "--help", "--version"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}
