// quorbel-render's command line over any arguments: a refusal says why; an
// accepted command line gives settings inside their enumerations, a picture
// size the writers can take and a GIF step of at least one tick.
#include <string>

#include "fuzz_check.h"
#include "render/render_options.h"
#include "settings_ranges.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzArguments arguments("quorbel-render", data, size);
    const ParsedRenderOptions parsed = ParseRenderOptions(arguments.argc(), arguments.argv());
    if (!parsed.options) {
        FUZZ_CHECK(!parsed.error.empty() && parsed.error.find('\n') == std::string::npos);
        return 0;
    }
    const RenderOptions& options = *parsed.options;
    CheckInsideEnumerations(options.saver.settings);
    FUZZ_CHECK(options.resolution.width > 0 && options.resolution.width <= kLargestSide);
    FUZZ_CHECK(options.resolution.height > 0 && options.resolution.height <= kLargestSide);
    FUZZ_CHECK(options.every >= 1);
    return 0;
}
