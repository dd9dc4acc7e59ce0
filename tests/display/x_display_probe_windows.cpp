// The saver's display in a window over the whole screen, with settings under
// which the picture changes for the last time in one big tick (every cell
// turning grown in its sixteenth generation) and then stands still. For
// x_display_test.sh, which looks at the X display itself: a tick's drawing
// must be there without anything else happening afterwards.
//
// In the current directory it writes expected.bmp (the still picture, from
// the same saver drawn in memory) before the window opens. The animation
// thread then ticks up to that big tick, writes `ticked` and waits for a
// file `done` before its next tick, so that no later drawing can bring the
// big tick's pixels along; the window's thread waits in its message loop,
// as the saver's does.
//
// With the argument `paint-during-tick` the window thread paints a corner of
// the window while the big tick draws: the hook holds the display's lock
// over the tick, asks for a repaint of the corner (erase included) and gives
// the window's thread time to start it.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "decoded_sheet_windows.h"
#include "display/frame_target.h"
#include "host/display_state_windows.h"
#include "host/display_window_windows.h"
#include "screen_capture_windows.h"

namespace {

constexpr uint32_t kSeed = 7;
constexpr int kBigTick = 16;  // every cell turns grown
std::atomic<int> ticksStarted{0};
HWND probeWindow = nullptr;
DisplayState display;
bool paintDuringTick = false;

Settings StillAfterOneBigTick() {
    Settings settings = DefaultSettings();
    settings.Speed = 19;
    settings.LifeGame = OnOffRandom::Off;  // no births or deaths after the first tick
    settings.Tovtov = OnOffRandom::Off;
    settings.Shrink = OnOffRandom::Off;
    settings.Size = CellSize::Middle;
    settings.Colors = SpeciesMode::Six;
    settings.Generations = 100000;
    return settings;
}

bool Done() { return GetFileAttributesA("done") != INVALID_FILE_ATTRIBUTES; }

// Runs before every tick on the animation thread.
void HoldAfterTheBigTick() {
    const int tick = ++ticksStarted;
    if (tick == kBigTick) {
        // Wine hands a window's drawing to the X server by itself once it
        // has waited long enough, as the first tick's newborns have by now:
        // a message makes the window's thread hand them over while it goes
        // back to sleep, so that what comes next is the big tick alone.
        SendMessageA(probeWindow, WM_NULL, 0, 0);
        Sleep(300);
        if (paintDuringTick) {
            // Let go after the tick, in the next call.
            display.lock();
            const RECT corner{0, 0, 8, 8};
            InvalidateRect(probeWindow, &corner, TRUE);
            // BeginPaint empties the update region.
            for (int waited = 0; waited < 500 && GetUpdateRect(probeWindow, nullptr, FALSE); waited += 10) {
                Sleep(10);
            }
        }
    }
    if (tick == kBigTick + 1) {
        if (paintDuringTick) {
            display.unlock();
        }
        CloseHandle(CreateFileA("ticked", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        while (!Done()) {
            Sleep(100);
        }
    }
}

LRESULT CALLBACK QuitOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Polls for `done` without a message queue of its own, so the window's
// thread stays asleep until then.
DWORD WINAPI CloseWhenDone(LPVOID window) {
    while (!Done()) {
        Sleep(100);
    }
    PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    return 0;
}

bool WriteExpected(const DecodedSheet& sheet, ClientSize screen) {
    Saver twin;
    twin.start(StillAfterOneBigTick(), screen, kSeed);
    IndexedImage frame(screen.width, screen.height);
    FrameTarget target(frame, &sheet.indices);
    IndexedImage settled;
    for (int n = 1; n <= 2 * kBigTick; ++n) {
        twin.tick(target);
        if (n == kBigTick) {
            settled = frame;
        }
    }
    if (settled.pixels != frame.pixels) {
        std::fprintf(stderr, "x_display_probe: the picture still changes after %d ticks\n", kBigTick);
        return false;
    }
    CapturedPixels picture{screen.width, screen.height, sheet.inColour(frame)};
    return SaveBmp(picture, L"expected.bmp");
}

}  // namespace

int main(int argc, char** argv) {
    paintDuringTick = argc > 1 && std::strcmp(argv[1], "paint-during-tick") == 0;
    DecodedSheet sheet;
    const ClientSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!sheet.load() || !WriteExpected(sheet, screen)) {
        std::fprintf(stderr, "x_display_probe: no expected picture\n");
        return 1;
    }
    display.instance = GetModuleHandleA(nullptr);
    display.next = QuitOnDestroy;
    display.settings = StillAfterOneBigTick();
    display.seed = kSeed;
    display.beforeTick = HoldAfterTheBigTick;
    WNDCLASSA windowClass{};
    windowClass.style = kSaverClassStyle;
    windowClass.lpfnWndProc = DisplayWindowProc;
    windowClass.hInstance = display.instance;
    windowClass.lpszClassName = "QuorbelXDisplayProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "x display probe", WS_POPUP | WS_VISIBLE, 0,
                                  0, screen.width, screen.height, nullptr, nullptr, display.instance, &display);
    if (!window) {
        return 1;
    }
    probeWindow = window;
    CloseHandle(CreateThread(nullptr, 0, CloseWhenDone, window, 0, nullptr));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
