#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/command_line_options.h"
#include "settings/settings_table.h"

namespace {

struct Parsed {
    SaverOptions options;
    std::vector<std::string> notMine;  // arguments left for the caller
    std::string error;
};

// Walks a whole command line as a front end does.
Parsed Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "program");
    Parsed parsed;
    const int argc = static_cast<int>(args.size());
    for (int i = 1; i < argc;) {
        const OptionResult result = TakeSettingOption(argc, args.data(), i, parsed.options);
        if (result.status == OptionStatus::Error) {
            parsed.error = result.message;
            break;
        }
        if (result.status == OptionStatus::NotMine) {
            parsed.notMine.push_back(args[i]);
            ++i;
            continue;
        }
        EXPECT_GE(result.used, 1);
        i += result.used;
    }
    return parsed;
}

bool SameSettings(const Settings& a, const Settings& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(SettingOptions, NothingGivenKeepsTheDefaultsAndTheClockSeed) {
    const Parsed parsed = Parse({});
    EXPECT_TRUE(SameSettings(parsed.options.settings, DefaultSettings()));
    EXPECT_FALSE(parsed.options.seed.has_value());
}

TEST(SettingOptions, EveryOptionSetsItsOwnFieldAndNothingElse) {
    struct Case {
        std::vector<const char*> args;
        SettingId field;
        uint32_t value;
    };
    const Case cases[] = {
        {{"--cell-size", "small"}, SettingId::Size, 0},
        {{"--cell-size", "BIG"}, SettingId::Size, 2},
        {{"--cell-size", "Medium"}, SettingId::Size, 1},
        {{"--cell-size", "Random"}, SettingId::Size, 3},
        {{"--wriggle", "off"}, SettingId::Tovtov, 0},
        {{"--wriggle", "rAnDoM"}, SettingId::Tovtov, 2},
        {{"--shrink", "ON"}, SettingId::Shrink, 1},
        {{"--life", "Off"}, SettingId::LifeGame, 0},
        {{"--wrap", "on"}, SettingId::ConnectTBLR, 1},
        {{"--species", "3"}, SettingId::Colors, 1},
        {{"--species", "6"}, SettingId::Colors, 2},
        {{"--species", "random"}, SettingId::Colors, 3},
        {{"--generations", "0"}, SettingId::Generations, 0},
        {{"--generations", "4294967295"}, SettingId::Generations, 4294967295u},
        {{"--speed", "0"}, SettingId::Speed, 0},
        {{"--speed", "19"}, SettingId::Speed, 19},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.args);
        const std::string what = std::string(c.args[0]) + " " + c.args[1];
        ASSERT_EQ(parsed.error, "") << what;
        Settings expected = DefaultSettings();
        DescriptionOf(c.field).set(expected, c.value);
        EXPECT_TRUE(SameSettings(parsed.options.settings, expected)) << what;
    }
}

TEST(SettingOptions, AllFourSpellingsAreTheSameOption) {
    for (const auto& args : std::vector<std::vector<const char*>>{
             {"--wrap", "random"}, {"--wrap=random"}, {"-wrap", "random"}, {"-wrap=random"}}) {
        const Parsed parsed = Parse(args);
        EXPECT_EQ(parsed.error, "") << args[0];
        EXPECT_TRUE(parsed.notMine.empty()) << args[0];
        EXPECT_EQ(parsed.options.settings.ConnectTBLR, OnOffRandom::Random) << args[0];
    }
}

TEST(SettingOptions, SpeedNumberFixesTheSpeedAndRandomLeavesTheNumberAlone) {
    Parsed parsed = Parse({"--speed", "random"});
    EXPECT_EQ(parsed.options.settings.FixedSpeed, SpeedMode::Random);
    EXPECT_EQ(parsed.options.settings.Speed, 5u);

    // The later option wins, and a number undoes an earlier random.
    parsed = Parse({"--speed", "random", "--speed=12"});
    EXPECT_EQ(parsed.options.settings.FixedSpeed, SpeedMode::Fixed);
    EXPECT_EQ(parsed.options.settings.Speed, 12u);

    parsed = Parse({"--speed", "12", "--speed", "RANDOM"});
    EXPECT_EQ(parsed.options.settings.FixedSpeed, SpeedMode::Random);
    EXPECT_EQ(parsed.options.settings.Speed, 12u);
}

TEST(SettingOptions, SeedTakesTheWholeUnsignedRange) {
    EXPECT_EQ(Parse({"--seed", "0"}).options.seed, 0u);
    EXPECT_EQ(Parse({"--seed=4294967295"}).options.seed, 4294967295u);
    EXPECT_EQ(Parse({"-seed", "007"}).options.seed, 7u);
    EXPECT_TRUE(SameSettings(Parse({"--seed", "1"}).options.settings, DefaultSettings()));
}

TEST(SettingOptions, BadValuesNameTheOptionAndWhatItTakes) {
    struct Case {
        std::vector<const char*> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--speed", "fast"}, "--speed takes 0..19 or random, not \"fast\""},
        {{"--speed", "20"}, "--speed takes 0..19 or random, not \"20\""},
        // "fixed" is what a number says; alone it names no speed.
        {{"--speed", "fixed"}, "--speed takes 0..19 or random, not \"fixed\""},
        {{"--cell-size", "mid"}, "--cell-size takes small, middle, medium, big or random, not \"mid\""},
        {{"--wriggle", "yes"}, "--wriggle takes off, on or random, not \"yes\""},
        {{"-life=1"}, "--life takes off, on or random, not \"1\""},
        {{"--species", "2"}, "--species takes 1, 3, 6 or random, not \"2\""},
        {{"--species", "06"}, "--species takes 1, 3, 6 or random, not \"06\""},
        {{"--generations", "4294967296"}, "--generations takes 0..4294967295, not \"4294967296\""},
        {{"--generations", "-1"}, "--generations takes 0..4294967295, not \"-1\""},
        {{"--seed", "+3"}, "--seed takes 0..4294967295, not \"+3\""},
        {{"--seed", " 3"}, "--seed takes 0..4294967295, not \" 3\""},
        {{"--seed="}, "--seed takes 0..4294967295, not \"\""},
        // Control characters and bytes past ASCII are escaped: still one line.
        {{"--speed", "1\n2\t\xe9"}, "--speed takes 0..19 or random, not \"1\\x0a2\\x09\\xe9\""},
        {{"--wrap"}, "--wrap needs a value: off, on or random"},
        {{"--life", "on", "-speed"}, "--speed needs a value: 0..19 or random"},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.args);
        EXPECT_EQ(parsed.error, c.message) << c.args[0];
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

// A page shows characters past ASCII; only well-formed, printable UTF-8
// passes, every other byte is escaped as it would be for a terminal.
TEST(SettingOptions, QuotingShowsWellFormedUtf8Only) {
    struct Case {
        const char* argument;
        const char* shown;
    };
    const Case cases[] = {
        {"gr\xc3\xb6\xc3\x9f", "\"gr\xc3\xb6\xc3\x9f\""},
        {"\xe6\x97\xa5\xf0\x9f\x99\x82\xf4\x8f\xbf\xbf", "\"\xe6\x97\xa5\xf0\x9f\x99\x82\xf4\x8f\xbf\xbf\""},
        {"a\x01\x7f", "\"a\\x01\\x7f\""},
        {"\xc2\x85", "\"\\xc2\\x85\""},                             // a C1 control
        {"\xc0\xaf\xe0\x80\xaf", "\"\\xc0\\xaf\\xe0\\x80\\xaf\""},  // overlong forms
        {"\xed\xa0\x80", "\"\\xed\\xa0\\x80\""},                    // a surrogate
        {"\xf4\x90\x80\x80", "\"\\xf4\\x90\\x80\\x80\""},           // past U+10FFFF
        {"\xe2\x82", "\"\\xe2\\x82\""},                             // cut short at the end
        {"\xe2\x82x", "\"\\xe2\\x82x\""},                           // cut short before another
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QuotedArgument(c.argument, NonAscii::Shown), c.shown) << c.shown;
    }
    EXPECT_EQ(QuotedArgument("\xc3\xb6"), "\"\\xc3\\xb6\"");
}

TEST(SettingOptions, OtherArgumentsAreLeftToTheCaller) {
    const Parsed parsed = Parse({"--png", "out.png", "-", "--", "--speedy", "--=3", "file", "--seed", "9"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.notMine, (std::vector<std::string>{"--png", "out.png", "-", "--", "--speedy", "--=3", "file"}));
    EXPECT_EQ(parsed.options.seed, 9u);
    EXPECT_TRUE(SameSettings(parsed.options.settings, DefaultSettings()));
}

TEST(SettingOptions, ApplyTakesANameAndValueAlreadySplit) {
    SaverOptions options;
    EXPECT_EQ(ApplySettingOption("cell-size", "big", options).status, OptionStatus::Consumed);
    EXPECT_EQ(options.settings.Size, CellSize::Big);
    EXPECT_EQ(ApplySettingOption("delay", "3", options).status, OptionStatus::NotMine);
    const OptionResult bad = ApplySettingOption("species", "4", options);
    EXPECT_EQ(bad.status, OptionStatus::Error);
    EXPECT_EQ(bad.message, "--species takes 1, 3, 6 or random, not \"4\"");
}

TEST(SettingOptions, UsageListsEachOptionOnceWithItsValuesAndDefault) {
    const std::string usage = SettingOptionsUsage();
    const char* expected[] = {
        "--speed 0..19|random",   "--life off|on|random",        "--wriggle off|on|random",
        "--shrink off|on|random", "--wrap off|on|random",        "--cell-size small|middle|medium|big|random",
        "--species 1|3|6|random", "--generations 0..4294967295", "--seed 0..4294967295"};
    size_t lines = 0;
    for (char c : usage)
        lines += c == '\n';
    EXPECT_EQ(lines, std::size(expected));
    for (const char* option : expected)
        EXPECT_NE(usage.find(option), std::string::npos) << option << " in\n" << usage;
    EXPECT_NE(usage.find("Speed (default 5)"), std::string::npos) << usage;
    EXPECT_NE(usage.find("Cell size (default middle)"), std::string::npos) << usage;
    EXPECT_NE(usage.find("(default chosen at random)"), std::string::npos) << usage;
}
