#include "web/web_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Pair {
    const char* name;
    const char* value;
};

// Each case: the pairs in address order, then what is in force and the
// start of the line shown (empty: none).
struct Case {
    std::vector<Pair> pairs;
    uint32_t speed;
    bool seeded;
    bool ticks;
    const char* line;
};

TEST(WebOptions, BadNamesAndValuesLeaveTheDefaultInForceAndSaySo) {
    const Case cases[] = {
        {{{"speed", "19"}, {"seed", "11"}, {"ticks", "60"}}, 19, true, true, ""},
        {{{"speed", "3"}, {"speed", "fast"}}, 5, false, false, "speed=\"fast\": speed takes 0..19 or random; using"},
        {{{"seed", "11"}, {"seed", "-1"}}, 5, false, false, "seed=\"-1\": seed takes 0..4294967295;"},
        {{{"ticks", "5"}, {"ticks", "x"}}, 5, false, false, "ticks=\"x\": ticks takes 0..4294967295"},
        {{{"Speed", "19"}}, 5, false, false, "unknown option \"Speed\": the options are speed, "},
    };
    for (const Case& c : cases) {
        WebOptions options;
        std::string line;
        for (const Pair& pair : c.pairs) {
            line = ApplyWebOption(pair.name, pair.value, options).value_or("");
        }
        SCOPED_TRACE(c.pairs.back().name + std::string("=") + c.pairs.back().value);
        EXPECT_EQ(options.saver.settings.Speed, c.speed);
        EXPECT_EQ(options.saver.seed.has_value(), c.seeded);
        EXPECT_EQ(options.ticks.has_value(), c.ticks);
        EXPECT_EQ(line.rfind(c.line, 0), 0u) << line;
    }
}

}  // namespace
