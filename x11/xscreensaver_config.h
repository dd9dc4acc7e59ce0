// quorbel.xml, which tells XScreenSaver's settings program what options the
// hack has: made from the settings table, so its labels, choices and
// defaults are the table's. XScreenSaver passes only the options whose value
// differs from the default written here.
#pragma once

#include <cstdint>
#include <string>

// XScreenSaver's spin buttons hold a float and write it with %d, so counts
// above 2^24 would not come back exactly.
constexpr uint32_t kSpinButtonHighest = 16777216;

std::string XScreenSaverConfig();
