// What the page's script calls: one saver, its options and its picture.
// Sizes are the canvas's device pixels; the world is laid out in logical
// pixels (device / scale), as on the desktop.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <string>

#include "display/display_scale.h"
#include "display/saver.h"
#include "web/canvas_frame.h"
#include "web/page_sheet.h"
#include "web/web_options.h"

namespace {

struct Page {
    WebOptions options;
    std::string text;  // the last string handed out
    Saver saver;
    CanvasFrame frame;
    int scale = 1;
};

Page& ThePage() {
    static Page page;
    return page;
}

void UseScale(Page& page, ClientSize device, int scale) {
    page.scale = std::max(1, std::min(scale, kMaxDisplayScale));
    page.frame.setSheet(&PageSheet(page.scale, page.options.saver.settings.Size));
    page.frame.resize(device);
}

}  // namespace

extern "C" {

// Back to the defaults, before the address's options are applied.
EMSCRIPTEN_KEEPALIVE void quorbel_reset_options() { ThePage().options = WebOptions{}; }

// One option from the address; null when taken, else the line to show.
EMSCRIPTEN_KEEPALIVE const char* quorbel_option(const char* name, const char* value) {
    Page& page = ThePage();
    const auto message = ApplyWebOption(name, value, page.options);
    if (!message) {
        return nullptr;
    }
    page.text = *message;
    return page.text.c_str();
}

// The options for the settings panel, one a line: name, label, accepted
// values (separated by '|') and default, separated by tabs.
EMSCRIPTEN_KEEPALIVE const char* quorbel_option_table() {
    Page& page = ThePage();
    page.text.clear();
    for (const SettingOptionDescription& option : SettingOptions()) {
        std::string values;
        for (const std::string& value : option.values) {
            values += (values.empty() ? "" : "|") + value;
        }
        page.text += option.name + "\t" + option.label + "\t" + values + "\t" + option.defaultText + "\n";
    }
    return page.text.c_str();
}

// The ticks to run, or -1 for no end.
EMSCRIPTEN_KEEPALIVE double quorbel_tick_limit() {
    const auto& ticks = ThePage().options.ticks;
    return ticks ? static_cast<double>(*ticks) : -1;
}

// A new saver with the options applied, on a black picture.
EMSCRIPTEN_KEEPALIVE void quorbel_start(int width, int height, int scale) {
    Page& page = ThePage();
    page.saver.end();
    UseScale(page, {width, height}, scale);
    page.saver.start(page.options.saver.settings, LogicalSize({width, height}, page.scale), page.options.saver.seed);
}

// The next tick begins a new world at this size, as a window's resize does.
EMSCRIPTEN_KEEPALIVE void quorbel_resize(int width, int height, int scale) {
    Page& page = ThePage();
    UseScale(page, {width, height}, scale);
    page.saver.resize(LogicalSize({width, height}, page.scale));
}

// One tick; the number of rectangles to upload from quorbel_pixels().
EMSCRIPTEN_KEEPALIVE int quorbel_tick() {
    Page& page = ThePage();
    page.frame.beginTick();
    ScaledTarget target(page.frame, page.scale);
    page.saver.tick(target);
    return static_cast<int>(page.frame.endTick(PageSheetPalette()).size());
}

// The rectangles of the last tick: left, top, right, bottom (exclusive) each.
EMSCRIPTEN_KEEPALIVE const PaintRect* quorbel_rects() { return ThePage().frame.shown().data(); }

EMSCRIPTEN_KEEPALIVE const uint32_t* quorbel_pixels() { return ThePage().frame.rgba(); }

EMSCRIPTEN_KEEPALIVE int quorbel_tick_delay() { return ThePage().saver.tickDelay(); }

// The sprite scale for the window's devicePixelRatio, by the desktop's rule.
EMSCRIPTEN_KEEPALIVE int quorbel_scale_for_ratio(double ratio) { return ScaleForDeviceRatio(ratio); }

EMSCRIPTEN_KEEPALIVE uint32_t quorbel_sheet_digest() { return PageSheetDigest(); }

}  // extern "C"
