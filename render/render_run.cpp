#include "render/render_run.h"

#include <optional>

#include "display/display_scale.h"
#include "display/frame_target.h"
#include "display/saver.h"
#include "render/animated_gif.h"
#include "render/progress_line.h"
#include "render/trace_target.h"
#include "resources/builtin_sheet.h"
#include "settings/command_line_options_posix.h"

RenderOutcome RunRender(const RenderOptions& options, const RenderSinks& sinks) {
    RenderOutcome outcome;
    const ClientSize size = options.resolution;
    // The saver and the trace work in logical pixels; the pictures are
    // device pixels, each sprite pixel scale x scale of them.
    const ClientSize logical = LogicalSize(size, options.scale);
    // A trace alone needs no pixels: nothing is drawn then.
    std::optional<FrameTarget> frameTarget;
    std::optional<ScaledTarget> scaled;
    PaintTarget* drawn = nullptr;
    if (sinks.gif || sinks.keepFrame) {
        outcome.frame = IndexedImage(size.width, size.height);
        drawn = &frameTarget.emplace(outcome.frame, &BuiltInSheet().image, options.scale);
        if (options.scale > 1)
            drawn = &scaled.emplace(*frameTarget, options.scale);
    }
    std::optional<TraceTarget> trace;
    if (sinks.trace)
        trace.emplace(sinks.trace, drawn, logical);
    else if (!drawn)
        return outcome;  // nothing asked for
    PaintTarget& target = trace ? static_cast<PaintTarget&>(*trace) : *drawn;

    AnimatedGif gif;
    if (sinks.gif && !gif.open(sinks.gif, size.width, size.height, BuiltInSheet().palette))
        return {false, "--gif", gif.writeError(), {}};

    Saver saver;
    saver.start(options.saver.settings, logical, SeedToUse(options.saver));
    if (!options.saver.seed)
        std::fprintf(stderr, "quorbel-render: seed %u (chosen at random)\n", saver.seed());
    if (trace)
        trace->endTick(saver.population(), saver.randomState(), saver.tickDelay());

    ProgressLine progress(!options.quiet, options.ticks);
    for (uint64_t tick = 1; tick <= options.ticks; ++tick) {
        if (trace) {
            trace->startTick(static_cast<uint32_t>(tick));
            saver.tick(target);
            trace->endTick(saver.population(), saver.randomState(), saver.tickDelay());
            if (trace->failed())
                break;  // a closed pipe or a full disk: no use going on
        } else {
            saver.tick(target);
        }
        if (sinks.gif) {
            // A kept picture's time runs until the next kept tick.
            if (tick % options.every == 0)
                gif.picture(outcome.frame);
            gif.elapse(saver.tickDelay());
        }
        progress.update(static_cast<uint32_t>(tick));
    }
    progress.finish();

    if (trace && !trace->flush())
        return {false, "--trace", trace->writeError(), {}};
    if (sinks.gif) {
        // Fewer ticks than --every: the last picture is the one frame.
        if (!gif.hasFrames()) {
            gif.picture(outcome.frame);
            gif.elapse(saver.tickDelay());
        }
        if (!gif.finish())
            return {false, "--gif", gif.writeError(), {}};
    }
    saver.end();
    return outcome;
}
