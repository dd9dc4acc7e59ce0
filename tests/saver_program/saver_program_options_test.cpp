// The shared command line as a front end without options of its own uses it;
// the X11 hack's tests cover a front end's own options among them.
#include "saver_program/saver_program_options.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr OptionHelp kListed[] = {WindowOptionHelp("a window"), TicksOptionHelp(), ScaleOptionHelp("the scale")};

struct Outcome {
    bool ok;
    SaverProgramOptions options;
    std::string error;
};

Outcome Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quorbel-test");
    Outcome outcome{};
    outcome.options.ticks = 12345;  // must stay on a refusal
    outcome.ok = ParseSaverProgramOptions(static_cast<int>(args.size()), args.data(), kListed, std::size(kListed),
                                          nullptr, &outcome.options, &outcome.error);
    return outcome;
}

}  // namespace

TEST(SaverProgramOptions, TheSharedOptionsAmongTheSettings) {
    const Outcome outcome = Parse({"-window", "--ticks=7", "--speed", "19", "-scale", "3", "--seed=4"});
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_TRUE(outcome.options.window);
    EXPECT_EQ(outcome.options.ticks, 7u);
    EXPECT_EQ(outcome.options.scale, 3);
    EXPECT_EQ(outcome.options.saver.settings.Speed, 19u);
    EXPECT_EQ(outcome.options.saver.seed, 4u);
    EXPECT_FALSE(outcome.options.request.has_value());

    const Outcome defaults = Parse({"--scale", "2", "--scale", "AUTO"});  // a word, in any case
    ASSERT_TRUE(defaults.ok) << defaults.error;
    EXPECT_FALSE(defaults.options.window);
    EXPECT_FALSE(defaults.options.ticks.has_value());
    EXPECT_EQ(defaults.options.scale, 0);
    EXPECT_EQ(Parse({"--version", "--ticks", "1", "-h"}).options.request, ProgramRequest::Version);
}

TEST(SaverProgramOptions, ARefusalIsOneLineAndLeavesTheOptionsAlone) {
    const std::vector<std::vector<const char*>> cases = {
        {"--window=1"},   {"--ticks"},   {"--ticks", "-1"}, {"--scale", "5"},
        {"--scale", "0"}, {"--help=me"}, {"--root"},        {"stray"},
    };
    for (const auto& args : cases) {
        const Outcome outcome = Parse(args);
        EXPECT_FALSE(outcome.ok) << args[0];
        EXPECT_EQ(outcome.options.ticks, 12345u) << args[0];
        const std::string named = std::string(args[0]).substr(0, std::string(args[0]).find('='));
        EXPECT_NE(outcome.error.find(named), std::string::npos) << outcome.error;
        EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << outcome.error;
    }
}

TEST(SaverProgramOptions, AnUnknownOptionListsTheFrontEndsOptionsThenTheSettingsAndTheRequests) {
    const std::string error = Parse({"--root"}).error;
    const std::string list = "; accepted: --window, --ticks, --scale, --speed, ";
    EXPECT_NE(error.find("unknown option \"--root\"" + list), std::string::npos) << error;
    const std::string end = ", --seed, --help, --version";
    EXPECT_EQ(error.substr(error.size() - end.size()), end);
}
