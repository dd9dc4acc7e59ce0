// What the page's script calls: one saver, its options and its picture.
// Sizes are the canvas's device pixels; the world is laid out in logical
// pixels (device / scale), as on the desktop.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "display/display_scale.h"
#include "display/saver.h"
#include "web/canvas_frame.h"
#include "web/page_sheet.h"
#include "web/web_options.h"

namespace {

struct Page {
    WebAddress address;
    std::string text;  // the last string handed out
    Saver saver;
    CanvasFrame frame;
    int scale = 1;
};

Page& ThePage() {
    static Page page;
    return page;
}

// Growing the module's memory may fail below the picture limit (a browser
// short of memory): whether it can hold a picture of this size now.
bool CanHold(ClientSize picture) {
    void* const probe = std::malloc(static_cast<size_t>(picture.width) * picture.height * kPictureBytesPerPixel);
    std::free(probe);
    return probe != nullptr;
}

// The picture for a device size: capped, and halved while it cannot be held.
ClientSize UsePicture(Page& page, ClientSize device, int scale) {
    page.scale = std::max(1, std::min(scale, kMaxDisplayScale));
    page.frame.setSheet(&PageSheet(page.address.options().saver.settings.Size), page.scale);
    page.frame.resize({1, 1});
    ClientSize picture = CappedPicture(device);
    while (!CanHold(picture) && picture.width * static_cast<int64_t>(picture.height) > 1) {
        picture = CappedPicture(device, picture.width * static_cast<int64_t>(picture.height) / 2);
    }
    page.frame.resize(picture);
    return picture;
}

}  // namespace

extern "C" {

// Back to the defaults, before the address's options are applied.
EMSCRIPTEN_KEEPALIVE void quorbel_reset_options() { ThePage().address = WebAddress{}; }

// The longest name or value taken, in UTF-8 bytes.
EMSCRIPTEN_KEEPALIVE int quorbel_longest_text() { return static_cast<int>(kLongestWebText); }

// One name=value of the address, in the address's order, each given with
// its length in bytes (a NUL is one more byte of it).
EMSCRIPTEN_KEEPALIVE void quorbel_option(const char* name, int nameLength, const char* value, int valueLength) {
    ThePage().address.apply({name, static_cast<size_t>(nameLength)}, {value, static_cast<size_t>(valueLength)});
}

// What the address's refused names and values leave in force, as one line;
// empty when all were taken.
EMSCRIPTEN_KEEPALIVE const char* quorbel_message() {
    Page& page = ThePage();
    page.text = page.address.message();
    return page.text.c_str();
}

// The options for the settings panel, one a line: name, label, accepted
// values (separated by '|', other spellings of a word left out) and default,
// separated by tabs.
EMSCRIPTEN_KEEPALIVE const char* quorbel_option_table() {
    Page& page = ThePage();
    page.text.clear();
    for (const SettingOptionDescription& option : SettingOptions()) {
        std::string values;
        for (const std::string& value : option.values) {
            if (IsWordAlias(option.name, value)) {
                continue;
            }
            values += (values.empty() ? "" : "|") + value;
        }
        page.text += option.name + "\t" + option.label + "\t" + values + "\t" + option.defaultText + "\n";
    }
    return page.text.c_str();
}

// The ticks to run, or -1 for no end.
EMSCRIPTEN_KEEPALIVE double quorbel_tick_limit() {
    const auto& ticks = ThePage().address.options().ticks;
    return ticks ? static_cast<double>(*ticks) : -1;
}

// A new saver with the options applied, on a black picture; pageSeed is
// the seed when the address gives none.
EMSCRIPTEN_KEEPALIVE void quorbel_start(int width, int height, int scale, uint32_t pageSeed) {
    Page& page = ThePage();
    page.saver.end();
    const ClientSize picture = UsePicture(page, {width, height}, scale);
    const SaverOptions& options = page.address.options().saver;
    page.saver.start(options.settings, LogicalSize(picture, page.scale), options.seed.value_or(pageSeed));
}

// The next tick begins a new world at this size, as a window's resize does.
EMSCRIPTEN_KEEPALIVE void quorbel_resize(int width, int height, int scale) {
    Page& page = ThePage();
    page.saver.resize(LogicalSize(UsePicture(page, {width, height}, scale), page.scale));
}

// The picture's size after a start or resize: the device size, or less when
// that is more than a canvas or the module can hold.
EMSCRIPTEN_KEEPALIVE int quorbel_picture_width() { return ThePage().frame.clientSize().width; }
EMSCRIPTEN_KEEPALIVE int quorbel_picture_height() { return ThePage().frame.clientSize().height; }

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
