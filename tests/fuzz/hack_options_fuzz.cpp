// The X11 saver's command line over any arguments, with or without an
// XSCREENSAVER_WINDOW: a refusal says why; an accepted command
// line gives settings inside their enumerations and, for a window of the
// caller's, a nonzero 32-bit number. Every window number that parses reads
// back from its decimal and its 0x-hex form.
#include <cstdio>
#include <string>

#include "fuzz_check.h"
#include "settings_ranges.h"
#include "x11/hack_options.h"

namespace {

void CheckWindowNumber(const char* text) {
    const std::optional<unsigned long> number = ParseWindowId(text);
    if (!number)
        return;
    FUZZ_CHECK(*number != 0 && *number <= 0xFFFFFFFFul);
    FUZZ_CHECK(ParseWindowId(std::to_string(*number)) == number);
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%lx", *number);
    FUZZ_CHECK(ParseWindowId(hex) == number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte says whether the first argument stands in for the
    // environment variable instead.
    const bool environment = data[0] & 1;
    const FuzzArguments arguments("quorbel", data + 1, size - 1);
    const char* const* argv = arguments.argv();
    int argc = arguments.argc();
    const char* window = nullptr;
    if (environment && argc > 1) {
        window = argv[1];
        CheckWindowNumber(window);
    }
    for (int i = 1; i < argc; ++i)
        CheckWindowNumber(argv[i]);

    HackOptions options;
    std::string error;
    if (!ParseHackOptions(argc, argv, window, &options, &error)) {
        FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos);
        return 0;
    }
    CheckInsideEnumerations(options.program.saver.settings);
    if (options.window == WindowChoice::Id)
        FUZZ_CHECK(options.windowId != 0 && options.windowId <= 0xFFFFFFFFul);
    return 0;
}
