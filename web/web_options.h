// The page's options, read from its address: the settings options of every
// native front end (the same names and values as `quorbel --help` lists)
// plus ticks. A wrong name or value is not fatal: the option keeps its
// default and the page shows one line saying so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/command_line_options.h"

struct WebOptions {
    SaverOptions saver;
    std::optional<uint32_t> ticks;  // stop after this many; none: run on
};

// No name or value is longer (in UTF-8 bytes) than this; a longer one is
// refused, quoted only this far. The page cuts what it hands over to one
// more, so that an address of megabytes never reaches the module whole.
constexpr size_t kLongestWebText = 64;

// An address's name=value pairs read in order. The last value of a name is
// the one in force, and the message speaks of that one: a refused last value
// gives its option's line (naming the option and what it takes), a refused
// earlier one "ignored, ... in force".
class WebAddress {
public:
    // name and value percent-decoded, in UTF-8, of any bytes (NUL included).
    void apply(std::string_view name, std::string_view value);

    const WebOptions& options() const { return options_; }
    // One line per name with a refused value, in the address's order,
    // separated by " · "; empty when everything was taken.
    std::string message() const;

private:
    struct Refusal {
        std::string name;
        std::string line;                    // about the last refused value
        std::string refused;                 // that value, quoted
        std::optional<std::string> inForce;  // a good value given after it
    };

    WebOptions options_;
    std::vector<Refusal> refusals_;
};
