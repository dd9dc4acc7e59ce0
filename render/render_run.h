// One headless run: the saver started on a seed, ticked into the in-memory
// frame, each tick passed to the trace and the GIF as asked.
#pragma once

#include <cstdio>
#include <string>

#include "display/indexed_image.h"
#include "render/render_options.h"

struct RenderSinks {
    FILE* trace = nullptr;   // nullptr: no trace
    FILE* gif = nullptr;     // nullptr: no GIF
    bool keepFrame = false;  // the caller wants the last frame (for the PNG)
};

struct RenderOutcome {
    bool ok = true;
    std::string failedOption;  // when not ok: "--trace" or "--gif"
    int reason = 0;            // when not ok: the failed write's errno, if known
    IndexedImage frame;        // after the last tick, when kept
};

RenderOutcome RunRender(const RenderOptions& options, const RenderSinks& sinks);
