#include "web/web_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each case: the pairs in address order, then the speed and seed in force
// and the whole message. The browser test runs the common faults through
// the page; these are the finer points of the same reading.
struct Case {
    std::vector<std::pair<std::string, std::string>> pairs;
    uint32_t speed;
    std::optional<uint32_t> seed;
    std::string message;
};

TEST(WebAddress, TheLastValueOfANameIsInForceAndTheMessageSaysSo) {
    const std::string cut = "\xe2\x80\xa6";
    const std::string zeros(kLongestWebText, '0');
    const std::string letters(kLongestWebText - 1, 'a');
    const Case cases[] = {
        // A good value replaced by a bad one: the default, not the good one.
        {{{"speed", "3"}, {"speed", "fast"}},
         5,
         {},
         "speed=\"fast\": speed takes 0..19 or random; using the default (5)"},
        // Refused, replaced, refused again and replaced: the last ones count.
        {{{"speed", "bogus"}, {"seed", "abc"}, {"speed", "nope"}, {"seed", "5"}, {"speed", "7"}},
         7,
         5,
         "speed=\"nope\" ignored, 7 in force \xc2\xb7 seed=\"abc\" ignored, 5 in force"},
        {{{"ticks", "5"}, {"ticks", "x"}, {"colour", "red"}, {"colour", "blue"}},
         5,
         {},
         "ticks=\"x\": ticks takes 0..4294967295; running without end \xc2\xb7 unknown option \"colour\": the options "
         "are speed, life, wriggle, shrink, wrap, cell-size, species, generations, seed, ticks"},
        // Past the longest, refused even when its digits make a good number,
        // and quoted only so far, cut at a character's start.
        {{{"seed", zeros + "5"}, {"speed", letters + "\xc3\xa9"}},
         5,
         {},
         "seed=\"" + zeros + cut +
             "\": seed takes 0..4294967295; using the default (chosen at random) \xc2\xb7 speed=\"" + letters + cut +
             "\": speed takes 0..19 or random; using the default (5)"},
    };
    for (const Case& c : cases) {
        WebAddress address;
        for (const auto& [name, value] : c.pairs) {
            address.apply(name, value);
        }
        SCOPED_TRACE(c.pairs.front().first + "=" + c.pairs.front().second);
        EXPECT_EQ(address.options().saver.settings.Speed, c.speed);
        EXPECT_EQ(address.options().saver.seed, c.seed);
        EXPECT_EQ(address.message(), c.message);
    }
}

}  // namespace
