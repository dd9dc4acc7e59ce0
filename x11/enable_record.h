// What quorbel-enable has changed, kept between its runs in a small file of
// its own (XScreenSaver's settings program rewrites ~/.xscreensaver without
// lines it does not know), so that --remove undoes that and nothing else.
// Portable: text in, text out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "user_files/text_hash.h"
#include "x11/xscreensaver_programs.h"

struct EnableRecord {
    // quorbel-enable made ~/.xscreensaver: the hash of what it last wrote
    // there, so that a file nobody else has changed since can go again.
    std::optional<std::uint64_t> madeFile;
    std::vector<std::string> madeFolders;  // made to hold the record, outermost first
    Changes changes;
};

std::string RecordText(const EnableRecord& record);

// Nothing when the text is not a record, which then counts as lost: an
// empty text too, since every record written holds something.
std::optional<EnableRecord> ParseRecord(const std::string& text);

// The record after EnableQuorbel gave result for a file that held fileBefore
// (nothing when there was no file) and that result was written.
EnableRecord Updated(const std::optional<EnableRecord>& record, const std::optional<std::string>& fileBefore,
                     const EnableResult& result);
