// x11_drawing_benchmark --server-pid PID [--ticks N] [--rounds R] [quorbel options]
//
// The two ways the X11 saver can draw, on the same seeded run on the root
// window of the display (an Xvfb of the size to measure): the sprite sheet as
// a server-side pixmap copied with XCopyArea, against the 8-bit frame composed
// here and its changed rectangles sent with XShmPutImage. Ticks run back to
// back, each followed by a round trip so that the server's share lands in the
// same tick; the CPU time of this program and of the server (PID, read from
// /proc) is counted per tick. Rounds alternate the two ways.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "display/saver.h"
#include "resources/builtin_sheet.h"
#include "x11/hack_options.h"
#include "x11/hack_window_x11.h"
#include "x11/window_painter_x11.h"
#include "x11/x_connection_x11.h"

namespace {

double OwnCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// utime + stime of a process: fields 14 and 15 of /proc/PID/stat, counted
// after the name in parentheses (which may hold blanks).
double ProcessCpuSeconds(long pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(text.substr(close + 2));  // from field 3, the state
    std::string field;
    unsigned long utime = 0;
    unsigned long stime = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14) {
            utime = std::stoul(field);
        } else if (number == 15) {
            stime = std::stoul(field);
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Cost {
    double client = 0;  // seconds of CPU
    double server = 0;
    double wall = 0;
    long ticks = 0;
};

Cost RunWay(DrawingWay way, XConnection& connection, const HackWindow& window, const HackOptions& options,
            long serverPid, long ticks) {
    const DecodedSheet& sheet = BuiltInSheet();
    const auto painter = MakeWindowPainter(way, connection, window, sheet.image, sheet.palette);
    Saver saver;
    saver.start(options.saver.settings, window.size, options.saver.seed.value_or(1));
    XSync(connection.display(), False);
    const double client0 = OwnCpuSeconds();
    const double server0 = ProcessCpuSeconds(serverPid);
    const auto wall0 = std::chrono::steady_clock::now();
    for (long i = 0; i < ticks; ++i) {
        saver.tick(*painter);
        painter->present();
        XSync(connection.display(), False);
    }
    Cost cost;
    cost.client = OwnCpuSeconds() - client0;
    cost.server = ProcessCpuSeconds(serverPid) - server0;
    cost.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    cost.ticks = ticks;
    saver.end();
    return cost;
}

void Print(const char* name, const Cost& cost) {
    const double perTick = 1000.0 / cost.ticks;
    std::printf("%-14s client %6.2f ms  server %6.2f ms  total %6.2f ms per tick  (wall %.2f ms)\n", name,
                cost.client * perTick, cost.server * perTick, (cost.client + cost.server) * perTick,
                cost.wall * perTick);
}

}  // namespace

int main(int argc, char** argv) {
    long serverPid = 0;
    long ticks = 300;
    int rounds = 2;
    std::vector<const char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (i + 1 < argc && std::strcmp(argv[i], "--server-pid") == 0) {
            serverPid = std::atol(argv[++i]);
        } else if (i + 1 < argc && std::strcmp(argv[i], "--ticks") == 0) {
            ticks = std::atol(argv[++i]);
        } else if (i + 1 < argc && std::strcmp(argv[i], "--rounds") == 0) {
            rounds = std::atoi(argv[++i]);
        } else {
            rest.push_back(argv[i]);
        }
    }
    HackOptions options;
    std::string error;
    if (serverPid <= 0 || ticks <= 0 ||
        !ParseHackOptions(static_cast<int>(rest.size()), rest.data(), nullptr, &options, &error)) {
        std::fprintf(stderr, "usage: %s --server-pid PID [--ticks N] [--rounds R] [quorbel options]\n%s\n", argv[0],
                     error.c_str());
        return 2;
    }
    options.window = WindowChoice::Root;
    const auto connection = XConnection::Open(options.display, &error);
    HackWindow window;
    if (!connection || !OpenHackWindow(*connection, options, &window, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%dx%d, %ld ticks per run, back to back\n", window.size.width, window.size.height, ticks);
    Cost pixmap;
    Cost image;
    for (int round = 0; round < rounds; ++round) {
        for (DrawingWay way : {DrawingWay::SheetPixmap, DrawingWay::FrameImage}) {
            const Cost cost = RunWay(way, *connection, window, options, serverPid, ticks);
            Cost& sum = way == DrawingWay::SheetPixmap ? pixmap : image;
            sum.client += cost.client;
            sum.server += cost.server;
            sum.wall += cost.wall;
            sum.ticks += cost.ticks;
        }
    }
    Print("sheet pixmap", pixmap);
    Print("frame image", image);
    std::printf("frame image / sheet pixmap (total CPU): %.2f\n",
                (image.client + image.server) / (pixmap.client + pixmap.server));
    return 0;
}
