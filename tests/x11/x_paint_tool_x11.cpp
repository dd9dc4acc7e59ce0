// Draws a seeded run on the X display one way, whatever the cost rule would
// pick, so that the saver's tests can compare each way with quorbel-render's
// picture. Left on the root (or the window given) when it ends.
//   x_paint_tool cells|composed [--error-first] <quorbel's options>
// --error-first makes a request fail just before the first tick. Prints how
// often each way drew, then the first X error, if any.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "display/display_scale.h"
#include "display/saver.h"
#include "resources/builtin_sheet.h"
#include "settings/command_line_options_posix.h"
#include "x11/hack_options.h"
#include "x11/hack_window_x11.h"
#include "x11/window_painter_x11.h"
#include "x11/x_connection_x11.h"

namespace {

PaintWay OneByOne(const TickShape&) { return PaintWay::Cells; }
PaintWay Composed(const TickShape&) { return PaintWay::Composed; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (std::strcmp(argv[1], "cells") != 0 && std::strcmp(argv[1], "composed") != 0)) {
        std::fprintf(stderr, "usage: x_paint_tool cells|composed [--error-first] [quorbel options]\n");
        return 2;
    }
    const WindowPainter::WayRule rule = std::strcmp(argv[1], "cells") == 0 ? OneByOne : Composed;
    const bool errorFirst = argc > 2 && std::strcmp(argv[2], "--error-first") == 0;
    std::vector<char*> rest{argv[0]};
    rest.insert(rest.end(), argv + (errorFirst ? 3 : 2), argv + argc);
    HackOptions options;
    std::string error;
    if (!ParseHackOptions(static_cast<int>(rest.size()), rest.data(), nullptr, &options, &error)) {
        std::fprintf(stderr, "x_paint_tool: %s\n", error.c_str());
        return 2;
    }
    const std::unique_ptr<XConnection> connection = XConnection::Open(options.display, &error);
    HackWindow window;
    if (!connection || !OpenHackWindow(*connection, options, &window, &error)) {
        std::fprintf(stderr, "x_paint_tool: %s\n", error.c_str());
        return 1;
    }
    const int scale = options.program.scale != 0 ? options.program.scale : 1;
    const DecodedSheet& sheet = BuiltInSheet();
    WindowPainter painter(*connection, window, sheet.image, sheet.palette, scale, rule);
    painter.repaint({0, 0, window.size.width, window.size.height});
    Saver saver;
    saver.start(options.program.saver.settings, LogicalSize(window.size, scale), SeedToUse(options.program.saver));
    ScaledTarget scaled(painter, scale);
    PaintTarget& target = scale > 1 ? static_cast<PaintTarget&>(scaled) : painter;
    if (errorFirst) {
        XFreePixmap(connection->display(), 1);  // no such pixmap; not waited for
    }
    for (uint32_t tick = 0; tick < options.program.ticks.value_or(1); ++tick) {
        saver.tick(target);
        painter.present();
    }
    const auto xError = connection->syncAndTakeError();
    const PaintCounts& counts = painter.counts();
    std::printf("cells %llu composed-shared %llu composed-sent %llu\n", static_cast<unsigned long long>(counts.cells),
                static_cast<unsigned long long>(counts.composedShared),
                static_cast<unsigned long long>(counts.composedSent));
    if (xError) {
        std::printf("X error: %s\n", xError->c_str());
    }
    saver.end();
    return 0;
}
