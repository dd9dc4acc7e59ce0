// quorbel-render: runs the saver headless from a seed and writes what it
// paints: the last frame as a PNG, the run as an animated GIF, and a trace
// of every paint operation. Bad input gives one line on standard error and
// exit code 2, and leaves no output file behind.
#include <cstdio>
#include <iterator>
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
    if (options.request)
        return AnswerRequest(*options.request, RenderUsage(), "quorbel-render");

    Output outputs[] = {{"--trace", options.trace, {}}, {"--gif", options.gif, {}}, {"--png", options.png, {}}};
    // One file for two outputs would keep only one of them.
    for (size_t later = 1; later < std::size(outputs); ++later) {
        for (size_t earlier = 0; earlier < later; ++earlier) {
            const Output& a = outputs[earlier];
            const Output& b = outputs[later];
            if (!a.path.empty() && !b.path.empty() && SameOutput(a.path, b.path))
                return Fail(std::string(b.option) + " names the same file as " + a.option + ": " +
                            QuotedArgument(b.path));
        }
    }
    // Every output is opened before the run, so an unwritable one costs
    // nothing; they appear only once all are complete.
    for (Output& output : outputs) {
        if (!output.path.empty() && !output.file.open(output.path))
            return Fail(std::string(output.option) + ": " + output.file.error());
    }
    RenderSinks sinks;
    sinks.trace = outputs[0].file.stream();
    sinks.gif = outputs[1].file.stream();
    sinks.keepFrame = !options.png.empty();

    const RenderOutcome outcome = RunRender(options, sinks);
    if (!outcome.ok) {
        Output& failed = outcome.failedOption == "--gif" ? outputs[1] : outputs[0];
        failed.file.fail(outcome.reason);
        return Fail(std::string(failed.option) + ": " + failed.file.error());
    }
    int reason = 0;
    if (sinks.keepFrame && !WriteIndexedPng(outputs[2].file.stream(), outcome.frame, BuiltInSheet().palette, &reason)) {
        outputs[2].file.fail(reason);
        return Fail(std::string("--png: ") + outputs[2].file.error());
    }
    for (Output& output : outputs) {
        if (!output.path.empty() && !output.file.commit())
            return Fail(std::string(output.option) + ": " + output.file.error());
    }
    return 0;
}
