// Times RunTick in a window that covers the screen, with small wriggling
// cells so that every grown cell is redrawn in every tick, and prints the
// cost as a share of the shortest tick delay, in wall time and in the
// ticking thread's CPU time. A tick includes handing its drawing to the
// screen, as the saver does.
//
//   tools/ci/wine_session.sh <prefix> env WINE_SCREEN=1920x1080x24 ...
//   wine tick_benchmark.exe [ticks]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "display/effective_settings.h"
#include "display/sheet_geometry.h"
#include "host/display_state_windows.h"
#include "host/gdi_paint_target_windows.h"

namespace {

LRESULT CALLBACK BlackWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        FillClientBlack(window, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateScreenWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BlackWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorbelTickBenchmark";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "tick benchmark", WS_POPUP | WS_VISIBLE, 0,
                                  0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    UpdateWindow(window);
    return window;
}

// Sheet pixels of the sheet's size with a pattern in them, and 256 colours
// with their palette, so that each tick does the same work as with the real
// sheet.
void MakeSheetGraphics(DisplayState& display, HWND window) {
    SheetGraphics& sheet = display.sheet;
    sheet.sprites = IndexedImage(kSheetWidth, kSheetHeight);
    for (int y = 0; y < kSheetHeight; ++y) {
        for (int x = 0; x < kSheetWidth; ++x) {
            sheet.sprites.at(x, y) = static_cast<uint8_t>((x * 37) ^ (y * 101));
        }
    }
    for (int i = 0; i < 256; ++i) {
        sheet.colours.push_back(RGBQUAD{static_cast<BYTE>(i * 7), static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 0});
    }
    sheet.palette = CreatePaletteOf(sheet.colours);
    const ClientSize client = ClientSizeOf(window);
    AddView(display, {0, 0, client.width, client.height}, 1).buffer.create(client, sheet);
}

// User and kernel time of this thread so far, in milliseconds. Wine counts
// it in steps of a clock tick, so only sums over many ticks mean anything.
double ThreadCpuMilliseconds() {
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto value = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(value(kernel) + value(user)) / 10000.0;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Counts {
    int live = 0;
    int grown = 0;  // alive 16 generations: redrawn every tick with wriggle on
};

Counts CountCells(const World& world) {
    Counts counts;
    for (int y = 1; y <= world.height; ++y) {
        for (int x = 1; x <= world.width; ++x) {
            const uint32_t history = world.cellAt(x, y).history;
            counts.live += history & 1u;
            counts.grown += (history & 0xFFFFu) == 0xFFFFu;
        }
    }
    return counts;
}

void RunScenario(DisplayState& display, HWND window, const char* name, OnOffRandom lifeGame, int ticks) {
    Settings settings = DefaultSettings();
    settings.Speed = kFastestSpeed;
    settings.Size = CellSize::Small;
    settings.Tovtov = OnOffRandom::On;
    settings.Shrink = OnOffRandom::On;
    settings.Colors = SpeciesMode::Six;
    settings.LifeGame = lifeGame;
    settings.Generations = 100000;  // one world for the whole run
    const ClientSize client = ClientSizeOf(window);
    Saver& saver = display.views.front()->saver;
    saver.start(settings, client, 1u);
    const World& world = saver.world();

    // Past 16 generations, so the grown cells wriggle.
    for (int n = 0; n < 32; ++n) {
        RunTick(display, window);
    }

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    double grownSum = 0;
    double liveSum = 0;
    double cpu = 0;
    for (int n = 0; n < ticks; ++n) {
        const Counts counts = CountCells(world);
        grownSum += counts.grown;
        liveSum += counts.live;
        const double cpuBefore = ThreadCpuMilliseconds();
        QueryPerformanceCounter(&start);
        RunTick(display, window);
        QueryPerformanceCounter(&end);
        cpu += ThreadCpuMilliseconds() - cpuBefore;
        times.push_back(Milliseconds(start, end, frequency));
    }
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double t : times) {
        total += t;
    }
    const double mean = total / ticks;
    const double shortest = TickDelayForSpeed(kFastestSpeed);
    std::printf("%s\n", name);
    std::printf("  grid %d x %d cells of %d px in %d x %d, %d ticks\n", world.width, world.height,
                saver.effective().cellWidth, client.width, client.height, ticks);
    std::printf("  per tick: %.0f live cells, %.0f grown (wriggling)\n", liveSum / ticks, grownSum / ticks);
    std::printf("  tick cost: mean %.3f ms, median %.3f ms, 95th %.3f ms, max %.3f ms\n", mean, times[ticks / 2],
                times[ticks * 95 / 100], times.back());
    std::printf("  mean as share of the %.0f ms tick delay: %.1f %%\n", shortest, 100.0 * mean / shortest);
    // The wall time includes waiting while the X server takes the picture
    // (Wine yields when it hands a window over); the CPU time does not.
    std::printf("  CPU of the ticking thread: mean %.3f ms, %.1f %% of the tick delay\n", cpu / ticks,
                100.0 * cpu / ticks / shortest);
}

}  // namespace

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    HWND window = CreateScreenWindow();
    DisplayState display;
    MakeSheetGraphics(display, window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }

    RunScenario(display, window, "Small cells, wriggle and shrink on, Life rules on, six species:", OnOffRandom::On,
                ticks);
    RunScenario(display, window, "Worst case, Life rules off (every cell wriggles):", OnOffRandom::Off, ticks / 3 + 10);

    ReleaseSheetGraphics(display.sheet);
    display.views.front()->buffer.destroy();
    DestroyWindow(window);
    return 0;
}
