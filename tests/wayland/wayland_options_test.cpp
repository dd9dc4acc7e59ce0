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

// --idle's SECONDS, optional as the login entry leaves it out, its range,
// and what it does not go with.
TEST(WaylandOptions, Idle) {
    struct Case {
        std::vector<const char*> args;
        std::optional<uint32_t> seconds;  // when accepted
        const char* errorStart;           // when refused
    };
    const Case cases[] = {
        {{"--idle", "--speed", "3"}, std::nullopt, nullptr},
        {{"--idle=1"}, 1, nullptr},
        {{"--idle", "86400"}, 86400, nullptr},
        {{"--idle", "0"}, std::nullopt, "--idle takes 1..86400 seconds, not \"0\""},
        {{"--idle", "5", "--window"}, std::nullopt, "--idle shows the saver on every output"},
        {{"--idle", "--remove"}, std::nullopt, "--idle shows the saver on every output"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"quorbel-wayland"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        WaylandOptions options;
        std::string error;
        const bool ok = ParseWaylandOptions(static_cast<int>(argv.size()), argv.data(), &options, &error);
        if (c.errorStart) {
            EXPECT_FALSE(ok) << c.args.back();
            EXPECT_EQ(0u, error.rfind(c.errorStart, 0)) << error;
        } else {
            ASSERT_TRUE(ok) << error;
            EXPECT_TRUE(options.idle);
            EXPECT_EQ(options.idleSeconds, c.seconds) << c.args.back();
        }
    }
}

}  // namespace
