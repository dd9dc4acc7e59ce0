// quorbel-render: runs the saver headless from a seed and writes what it
// paints: the last frame as a PNG, the run as an animated GIF, and a trace
// of every paint operation. Bad input gives one line on standard error and
// exit code 2, and leaves no output file behind.
#include <cstdio>
#include <string>

#include "render/indexed_png.h"
#include "render/output_file.h"
#include "render/render_options.h"
#include "render/render_run.h"
#include "resources/builtin_sheet.h"

namespace {

constexpr int kBadInput = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "quorbel-render: %s\n", message.c_str());
    return kBadInput;
}

struct Output {
    const char* option;
    const std::string& path;
    OutputFile file;
};

}  // namespace

int main(int argc, char** argv) {
    const ParsedRenderOptions parsed = ParseRenderOptions(argc, argv);
    if (!parsed.options)
        return Fail(parsed.error);
    const RenderOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(RenderUsage().c_str(), stdout);
        return 0;
    }

    // Every output is opened before the run, so an unwritable one costs
    // nothing; they appear only once all are complete.
    Output outputs[] = {{"--trace", options.trace, {}}, {"--gif", options.gif, {}}, {"--png", options.png, {}}};
    RenderSinks sinks;
    for (Output& output : outputs) {
        if (!output.path.empty() && !output.file.open(output.path))
            return Fail(std::string(output.option) + ": " + output.file.error());
    }
    sinks.trace = outputs[0].file.stream();
    sinks.gif = outputs[1].file.stream();
    sinks.keepFrame = !options.png.empty();

    const RenderOutcome outcome = RunRender(options, sinks);
    if (!outcome.ok)
        return Fail(outcome.failedOption + ": cannot write \"" +
                    (outcome.failedOption == "--gif" ? options.gif : options.trace) + "\"");
    if (sinks.keepFrame && !WriteIndexedPng(outputs[2].file.stream(), outcome.frame, BuiltInSheet().palette))
        return Fail("--png: cannot write \"" + options.png + "\"");
    for (Output& output : outputs) {
        if (!output.path.empty() && !output.file.commit())
            return Fail(std::string(output.option) + ": " + output.file.error());
    }
    return 0;
}
