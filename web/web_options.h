// The page's options, read from its address: the settings options of every
// native front end (the same names and values as `quorbel --help` lists)
// plus ticks. A wrong name or value is not fatal: the option keeps its
// default and the page shows one line saying so.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/command_line_options.h"

struct WebOptions {
    SaverOptions saver;
    std::optional<uint32_t> ticks;  // stop after this many; none: run on
};

// Applies name=value (both already percent-decoded). Nothing when taken;
// otherwise the line to show, naming the option and what it takes.
std::optional<std::string> ApplyWebOption(std::string_view name, std::string_view value, WebOptions& options);
