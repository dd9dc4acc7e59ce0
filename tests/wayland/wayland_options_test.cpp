// quorbel-wayland's command line: its own options beside the settings, and
// an unknown one refused naming its own options first. The shared parser's
// tests cover the rest.
#include "wayland/wayland_options.h"

#include <gtest/gtest.h>

#include <string>

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
    EXPECT_EQ(
        0u,
        error.rfind("unknown option \"--root\"; accepted: --window, --ticks, --scale, --enable, --remove, --speed", 0))
        << error;
}

}  // namespace
