// quorbel-wayland's command line: its own options beside the settings, and
// an unknown one refused naming its own options first. The shared parser's
// tests cover the rest.
#include "wayland/wayland_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(WaylandOptions, ItsOwnOptionsBesideTheSettings) {
    const char* const accepted[] = {"quorbel-wayland", "--window", "-ticks", "7", "--scale=2", "--seed", "5"};
    WaylandOptions options;
    std::string error;
    ASSERT_TRUE(ParseWaylandOptions(7, accepted, &options, &error)) << error;
    EXPECT_TRUE(options.window);
    EXPECT_EQ(options.ticks, 7u);
    EXPECT_EQ(options.scale, 2);
    EXPECT_EQ(options.saver.seed, 5u);

    const char* const refused[] = {"quorbel-wayland", "--root"};
    EXPECT_FALSE(ParseWaylandOptions(2, refused, &options, &error));
    EXPECT_EQ(0u, error.rfind(
                      "unknown option \"--root\"; accepted: --window, --ticks, --scale, --idle, --enable, --remove", 0))
        << error;
}

// --idle's SECONDS, optional as the login entry leaves it out; --enable's,
// optional too; their ranges, and what each does not go with.
TEST(WaylandOptions, IdleEnableAndRemove) {
    const char* const kIdleAlone =
        "--idle shows the saver on every output; it does not go with --window, --enable or --remove";
    const struct {
        std::vector<const char*> args;
        bool idle;
        std::optional<uint32_t> idleSeconds, enableSeconds;  // when accepted
        const char* error;                                   // when refused
    } cases[] = {
        {{"--idle", "--speed", "3"}, true, std::nullopt, std::nullopt, nullptr},
        {{"--idle=1"}, true, 1u, std::nullopt, nullptr},
        {{"--idle", "86400"}, true, 86400u, std::nullopt, nullptr},
        {{"--idle", "0"}, false, std::nullopt, std::nullopt, "--idle takes 1..86400 seconds, not \"0\""},
        {{"--idle", "5", "--window"}, false, std::nullopt, std::nullopt, kIdleAlone},
        {{"--idle", "--remove"}, false, std::nullopt, std::nullopt, kIdleAlone},
        {{"--enable"}, false, std::nullopt, std::nullopt, nullptr},
        {{"--enable", "600", "--speed", "3"}, false, std::nullopt, 600u, nullptr},
        {{"--enable", "--speed", "3"}, false, std::nullopt, std::nullopt, nullptr},
        {{"-enable=60"}, false, std::nullopt, 60u, nullptr},
        {{"--enable", "0"}, false, std::nullopt, std::nullopt, "--enable takes 1..86400 seconds, not \"0\""},
        {{"--enable", "--window"},
         false,
         std::nullopt,
         std::nullopt,
         "--enable and --remove take no --window, --ticks or --scale"},
        {{"--remove", "--speed", "3"}, false, std::nullopt, std::nullopt, "--remove takes no settings options"},
        {{"--enable", "--remove"}, false, std::nullopt, std::nullopt, "--enable and --remove do not go together"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"quorbel-wayland"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        WaylandOptions options;
        std::string error;
        const bool accepted = ParseWaylandOptions(static_cast<int>(argv.size()), argv.data(), &options, &error);
        const std::string named = std::string(c.args[0]) + " ... " + c.args.back();
        EXPECT_EQ(accepted, c.error == nullptr) << named << ": " << error;
        EXPECT_EQ(error, c.error ? c.error : "") << named;
        if (accepted) {
            EXPECT_EQ(options.idle, c.idle) << named;
            EXPECT_EQ(options.idleSeconds, c.idleSeconds) << named;
            EXPECT_EQ(options.enableSeconds, c.enableSeconds) << named;
        }
    }
    // What --enable writes to the settings file: the settings options only.
    const char* const given[] = {"quorbel-wayland", "--enable", "600", "--speed=3", "--ticks", "2", "-species", "6"};
    EXPECT_EQ(GivenSettingOptions(8, given), (std::vector<SettingLine>{{"speed", "3"}, {"species", "6"}}));
}

}  // namespace
