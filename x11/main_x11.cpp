// quorbel: the saver as an XScreenSaver hack. Exit codes: 0 when asked to
// end (SIGTERM, SIGINT, SIGHUP, closing its window), 1 when the X server fails it,
// 2 for a bad option.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "display/display_scale.h"
#include "display/saver.h"
#include "resources/builtin_sheet.h"
#include "saver_program/stop_signals_posix.h"
#include "settings/command_line_options_posix.h"
#include "x11/hack_loop_x11.h"
#include "x11/hack_options.h"
#include "x11/hack_window_x11.h"
#include "x11/screen_facts_x11.h"
#include "x11/window_painter_x11.h"
#include "x11/x_connection_x11.h"

namespace {

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "quorbel: %s\n", message.c_str());
    return code;
}

int Run(const HackOptions& options, const StopSignals& signals) {
    std::string error;
    const std::unique_ptr<XConnection> connection = XConnection::Open(options.display, &error);
    if (!connection) {
        return Fail(error, 1);
    }
    HackWindow window;
    if (!OpenHackWindow(*connection, options, &window, &error)) {
        return Fail(error, 1);
    }
    const DecodedSheet& sheet = BuiltInSheet();
    const int scale =
        options.program.scale != 0 ? options.program.scale : AutoScale(ReadScreenFacts(connection->display()));
    HackLoopEnd end{};
    {
        WindowPainter painter(*connection, window, sheet.image, sheet.palette, scale);
        // Black from the start, whatever was there (the root's pattern).
        painter.repaint({0, 0, window.size.width, window.size.height});
        Saver saver;
        saver.start(options.program.saver.settings, LogicalSize(window.size, scale), SeedToUse(options.program.saver));
        end = RunHackLoop(*connection, window, painter, scale, saver, signals, options.program.ticks);
        saver.end();
    }
    CloseHackWindow(*connection, window, end.windowGone);
    if (const auto late = connection->syncAndTakeError(); late && !end.windowGone && end.exitCode == 0) {
        end = {1, "X error: " + *late, false};
    }
    return end.exitCode == 0 ? 0 : Fail(end.message, end.exitCode);
}

}  // namespace

int main(int argc, char** argv) {
    HackOptions options;
    std::string error;
    if (!ParseHackOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), &options, &error)) {
        return Fail(error, 2);
    }
    if (options.program.request) {
        return AnswerRequest(*options.program.request, HackUsage(), "quorbel");
    }
    // Before the display opens, so that an early SIGTERM also ends cleanly.
    StopSignals signals;
    if (!signals.install(&error)) {
        return Fail(error, 1);
    }
    return Run(options, signals);
}
