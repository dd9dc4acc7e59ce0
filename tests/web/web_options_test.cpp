#include "web/web_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// Each case: the pairs in address order, then what is in force and the
// whole message shown (empty: none).
struct Case {
    std::vector<std::pair<std::string, std::string>> pairs;
    uint32_t speed;
    std::optional<uint32_t> seed;
    bool ticks;
    std::string message;
};

TEST(WebAddress, TheLastValueOfANameIsInForceAndTheMessageSaysSo) {
    const std::string longValue(1310550, 'x');
    const Case cases[] = {
        {{{"speed", "19"}, {"seed", "11"}, {"ticks", "60"}}, 19, 11, true, ""},
        {{{"speed", "3"}, {"speed", "fast"}},
         5,
         {},
         false,
         "speed=\"fast\": speed takes 0..19 or random; using the default (5)"},
        // A refused value replaced by a good one is not said to be in force.
        {{{"speed", "bogus"}, {"speed", "19"}, {"seed", "abc"}, {"seed", "5"}, {"speed", "nope"}, {"speed", "7"}},
         7,
         5,
         false,
         "speed=\"nope\" ignored, 7 in force \xc2\xb7 seed=\"abc\" ignored, 5 in force"},
        {{{"seed", "11"}, {"seed", "-1"}},
         5,
         {},
         false,
         "seed=\"-1\": seed takes 0..4294967295; using the default (chosen at random)"},
        {{{"ticks", "5"}, {"ticks", "x"}, {"colour", "red"}, {"colour", "blue"}},
         5,
         {},
         false,
         "ticks=\"x\": ticks takes 0..4294967295; running without end \xc2\xb7 unknown option \"colour\": the options "
         "are speed, life, wriggle, shrink, wrap, cell-size, species, generations, seed, ticks"},
        // A NUL ends nothing: the whole value is read and refused.
        {{{"seed", "5\0junk"s}},
         5,
         {},
         false,
         "seed=\"5\\x00junk\": seed takes 0..4294967295; using the default (chosen at random)"},
        // Characters past ASCII are shown; bytes outside UTF-8 are not.
        {{{"cell-size",
           "gr\xc3\xb6\xc3\x9f"
           "er\xff"}},
         5,
         {},
         false,
         "cell-size=\"gr\xc3\xb6\xc3\x9f"
         "er\\xff\": cell-size takes small, middle, medium, big or random; using the "
         "default (middle)"},
        // Too long to be anything, even with a good start, and quoted only
        // so far, cut at a character's start.
        {{{"speed", longValue}},
         5,
         {},
         false,
         "speed=\"" + std::string(kLongestWebText, 'x') +
             "\xe2\x80\xa6\": speed takes 0..19 or random; using the default (5)"},
        {{{"seed", std::string(kLongestWebText, '0') + "5"},
          {"speed", std::string(kLongestWebText - 1, 'a') + "\xc3\xa9"}},
         5,
         {},
         false,
         "seed=\"" + std::string(kLongestWebText, '0') +
             "\xe2\x80\xa6\": seed takes 0..4294967295; using the default "
             "(chosen at random) \xc2\xb7 speed=\"" +
             std::string(kLongestWebText - 1, 'a') +
             "\xe2\x80\xa6\": speed takes 0..19 or random; using the default (5)"},
    };
    for (const Case& c : cases) {
        WebAddress address;
        for (const auto& [name, value] : c.pairs) {
            address.apply(name, value);
        }
        SCOPED_TRACE(c.pairs.front().first + "=" + c.pairs.front().second.substr(0, 20));
        EXPECT_EQ(address.options().saver.settings.Speed, c.speed);
        EXPECT_EQ(address.options().saver.seed, c.seed);
        EXPECT_EQ(address.options().ticks.has_value(), c.ticks);
        EXPECT_EQ(address.message(), c.message);
    }
}

}  // namespace
