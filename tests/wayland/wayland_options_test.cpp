// quorbel-wayland's command line: the shared options reach it, and an
// unknown one is refused naming its own options first.
#include "wayland/wayland_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    std::vector<const char*> args;
    bool ok;
    bool window;
    int scale;
    std::optional<uint32_t> ticks;
    const char* error;  // the start of the message when refused
};

TEST(WaylandOptions, ItsOwnOptionsBesideTheSettings) {
    const Case cases[] = {
        {{}, true, false, 0, std::nullopt, ""},
        {{"--window", "-ticks", "7", "--scale=2", "--seed", "5"}, true, true, 2, 7u, ""},
        {{"--root"},
         false,
         false,
         0,
         std::nullopt,
         "unknown option \"--root\"; accepted: --window, --ticks, --scale, --speed"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"quorbel-wayland"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        WaylandOptions options;
        std::string error;
        const bool ok = ParseWaylandOptions(static_cast<int>(argv.size()), argv.data(), &options, &error);
        const std::string line = c.args.empty() ? "" : c.args[0];
        ASSERT_EQ(c.ok, ok) << line << ": " << error;
        if (ok) {
            EXPECT_EQ(c.window, options.window) << line;
            EXPECT_EQ(c.scale, options.scale) << line;
            EXPECT_EQ(c.ticks, options.ticks) << line;
        } else {
            EXPECT_EQ(0u, error.rfind(c.error, 0)) << line << ": " << error;
            EXPECT_EQ(std::string::npos, error.find('\n')) << line;
        }
    }
}

}  // namespace
