// The display as the saver runs it: DisplayWindowProc as a window's
// procedure, with the real sheet from this program's resources, the
// registry settings and the animation thread.
#include <gtest/gtest.h>

#include <windows.h>

#include "decoded_sheet_windows.h"
#include "display/display_scale.h"
#include "display/frame_target.h"
#include "expected_picture.h"
#include "gdi_ledger_windows.h"
#include "host/display_state_windows.h"
#include "host/display_window_windows.h"
#include "screen_capture_windows.h"
#include "settings/settings_store.h"

namespace {

constexpr int kWidth = 333;
constexpr int kHeight = 247;

std::vector<uint32_t> ReadClient(HWND window) { return CaptureClient(window, kWidth, kHeight).pixels; }

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

// A window of width x height whose procedure is the display's, with
// `display` as its creation parameter.
HWND CreateDisplayWindow(DisplayState& display, int width = kWidth, int height = kHeight) {
    static const char kClassName[] = "QuorbelSaverDisplayTest";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DisplayWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    return CreateWindowExA(0, kClassName, "Preview", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                           windowClass.hInstance, &display);
}

// Counts (and reports the first few) pixels that differ.
int CountWrongPixels(const std::vector<uint32_t>& expected, const std::vector<uint32_t>& got) {
    if (expected.size() != got.size()) {
        ADD_FAILURE() << "sizes differ: " << expected.size() << " and " << got.size();
        return -1;
    }
    int wrong = 0;
    for (size_t i = 0; i < got.size(); ++i) {
        if (expected[i] != got[i] && wrong++ < 5) {
            ADD_FAILURE() << "pixel " << i % kWidth << "," << i / kWidth << ": expected " << std::hex << expected[i]
                          << ", got " << got[i] << std::dec;
        }
    }
    return wrong;
}

}  // namespace

TEST(SaverDisplay, StartsPaintsTheSheetAndReleasesEverything) {
    DecodedSheet sheet;
    ASSERT_TRUE(sheet.load()) << "the test program carries no usable LIFE9DIB";

    // What the host hands over: this program's module, the stored settings,
    // and the default handling after the display's.
    DisplayState display;
    display.instance = GetModuleHandleA(nullptr);
    LoadSettings();
    display.settings = userSettings;
    HWND window = CreateDisplayWindow(display);
    ASSERT_NE(nullptr, window);

    // Creation started everything: one view over the window.
    ASSERT_EQ(1u, display.views.size());
    MonitorView& view = *display.views[0];
    EXPECT_NE(nullptr, display.sheetResource);
    EXPECT_EQ(540, display.sheet.sprites.width);
    EXPECT_NE(nullptr, display.sheet.palette);
    EXPECT_EQ(kWidth, view.buffer.size().width);
    ASSERT_NE(nullptr, display.animation.thread);
    EXPECT_NE(nullptr, display.animation.wakeEvent);
    EXPECT_TRUE(view.saver.running());

    // Let the thread run, whatever the stored settings are, then take over
    // the ticks to check the picture.
    PumpFor(1000);
    StopAnimation(display.animation);
    EXPECT_EQ(nullptr, display.animation.thread);
    const World& world = view.saver.world();
    EXPECT_EQ(kWidth / view.saver.effective().cellWidth, world.width);
    EXPECT_EQ(kHeight / view.saver.effective().cellHeight, world.height);

    std::vector<CellSnapshot> before;
    bool newWorld = true;
    for (int n = 0; n < 100 && newWorld; ++n) {
        before = TakeSnapshot(world);
        const int64_t countdown = world.countdown;
        const int32_t columns = world.width;
        RunTick(display, window);
        newWorld = world.width != columns || (world.countdown != countdown && world.countdown != countdown - 1);
    }
    ASSERT_FALSE(newWorld) << "every tick began a new world";

    const std::vector<uint32_t> pixels = ReadClient(window);
    int wrong = 0;
    int sprites = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const SheetPoint from = ExpectedSheetPoint(x, y, before, world, view.saver.effective());
            sprites += !from.black;
            const uint32_t expected = from.black ? 0 : sheet.colours[sheet.indices.at(from.x, from.y)];
            const uint32_t got = pixels[static_cast<size_t>(y) * kWidth + x];
            if (expected != got && wrong++ < 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": expected " << std::hex << expected << ", got " << got
                              << std::dec;
            }
        }
    }
    EXPECT_EQ(0, wrong) << "wrong pixels";
    EXPECT_GT(sprites, 0) << "no live cell to check";

    // The erase request blacks out the whole client area and answers 0.
    HDC dc = GetDC(window);
    const LRESULT erased = SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(window, dc);
    EXPECT_EQ(0, erased);
    const std::vector<uint32_t> black = ReadClient(window);
    EXPECT_EQ(std::vector<uint32_t>(black.size(), 0), black);

    DestroyWindow(window);
    EXPECT_EQ(nullptr, display.sheetResource);
    EXPECT_EQ(nullptr, display.sheet.source());
    EXPECT_EQ(nullptr, display.sheet.palette);
    EXPECT_EQ(nullptr, display.animation.wakeEvent);
    EXPECT_TRUE(display.views.empty());
}

TEST(SaverDisplay, APictureBufferThatCannotBeMadeAtStartMakesNoWindowAndReleasesEverything) {
    // Too big a picture to make, as a huge virtual screen would give; the
    // window would stay black for good.
    DisplayState display;
    display.instance = GetModuleHandleA(nullptr);
    display.settings = DefaultSettings();
    HWND window = CreateDisplayWindow(display, 60000, 60000);
    EXPECT_EQ(nullptr, window);
    EXPECT_EQ(nullptr, display.animation.thread);
    if (window) {
        DestroyWindow(window);
    }
    EXPECT_EQ(nullptr, display.sheetResource);
    EXPECT_EQ(nullptr, display.sheet.palette);
    EXPECT_TRUE(display.views.empty());
}

TEST(SaverDisplay, WindowShowsTheInMemoryFrameOfTheSameSeedAndRepaintsFromIt) {
    DecodedSheet sheet;
    ASSERT_TRUE(sheet.load()) << "the test program carries no usable LIFE9DIB";
    DisplayState display;
    display.instance = GetModuleHandleA(nullptr);
    display.settings = DefaultSettings();
    display.settings.Speed = 0;  // two seconds before the thread's first tick
    display.settings.Size = CellSize::Small;
    display.settings.Tovtov = OnOffRandom::On;
    display.settings.Shrink = OnOffRandom::On;
    display.settings.Colors = SpeciesMode::Six;
    display.settings.Generations = 1000;
    display.seed = 20261208u;
    HWND window = CreateDisplayWindow(display);
    ASSERT_NE(nullptr, window);
    UpdateWindow(window);
    StopAnimation(display.animation);  // this test ticks itself
    const std::vector<uint32_t> first = ReadClient(window);
    EXPECT_EQ(std::vector<uint32_t>(first.size(), 0), first) << "the first paint is black";

    // The same saver drawing into an in-memory frame.
    Saver twin;
    twin.start(display.settings, {kWidth, kHeight}, display.seed);
    IndexedImage frame(kWidth, kHeight);
    FrameTarget target(frame, &sheet.indices);
    for (int n = 1; n <= 60; ++n) {
        RunTick(display, window);
        twin.tick(target);
        if (n % 20 == 0) {
            SCOPED_TRACE(n);
            ASSERT_EQ(0, CountWrongPixels(sheet.inColour(frame), ReadClient(window)));
        }
    }
    EXPECT_EQ(twin.randomState(), display.views.at(0)->saver.randomState());

    // Covered and uncovered: WM_PAINT puts the picture back, not black.
    HDC dc = GetDC(window);
    const RECT whole{0, 0, kWidth, kHeight};
    FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window, dc);
    const RECT part{40, 30, 200, 120};
    InvalidateRect(window, &part, TRUE);
    UpdateWindow(window);
    const std::vector<uint32_t> repainted = ReadClient(window);
    const std::vector<uint32_t> expected = sheet.inColour(frame);
    int wrongInside = 0;
    int whiteOutside = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const size_t i = static_cast<size_t>(y) * kWidth + x;
            if (x >= part.left && x < part.right && y >= part.top && y < part.bottom) {
                wrongInside += repainted[i] != expected[i];
            } else {
                whiteOutside += repainted[i] == 0xFFFFFFu;
            }
        }
    }
    EXPECT_EQ(0, wrongInside) << "the uncovered part is repainted from the picture";
    EXPECT_EQ(kWidth * kHeight - (part.right - part.left) * (part.bottom - part.top), whiteOutside)
        << "only the uncovered part is painted";
    DestroyWindow(window);
}

namespace {

// The monitors the display is told of; a test changes them before it
// sends the message a real change sends.
MonitorList testMonitors{{{0, 0, kWidth, kHeight}, 96}};
MonitorList TestMonitors(HWND) { return testMonitors; }

// The client size the first view's world has taken, read under the ticks'
// lock.
ClientSize WorldClient(DisplayState& display) {
    DisplayLock lock(display);
    return display.views.at(0)->saver.client();
}

// Handles everything queued, and whatever that queues in turn.
void DrainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

// How often the display asked where the screen is (once per follow), and
// how often it had when the key press reached the next stage.
int follows = 0;
int followsAtKey = -1;
MonitorList CountedMonitors(HWND) {
    ++follows;
    return {{{0, 0, kWidth, kHeight}, 96}};
}
LRESULT CALLBACK NoteKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && followsAtKey < 0) {
        followsAtKey = follows;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST(SaverDisplay, FollowsTheScreenWithItsWindowBufferScaleAndWorld) {
    DisplayState display;
    display.instance = GetModuleHandleA(nullptr);
    LoadSettings();
    display.settings = userSettings;
    display.monitors = TestMonitors;
    display.coversMonitors = true;
    HWND window = CreateDisplayWindow(display);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(1, display.views.at(0)->scale);

    // WM_DPICHANGED suggests a rectangle on one monitor: the window keeps
    // to the full-screen area.
    RECT suggested{5, 5, 105, 105};
    const struct {
        UINT message;
        ScreenRect screen;
        int dpi;
        int scale;
    } changes[] = {
        {WM_DISPLAYCHANGE, {0, 0, 400, 300}, 192, 2},
        {WM_DISPLAYCHANGE, {-30, 20, 521, 377}, 288, 3},
        {0x02E0, {0, 0, 640, 480}, 96, 1},
    };
    for (const auto& change : changes) {
        testMonitors = {{change.screen, change.dpi}};
        SendMessageA(window, change.message, 0, reinterpret_cast<LPARAM>(&suggested));
        DrainQueue();
        const ScreenRect& s = change.screen;
        RECT placed{};
        GetWindowRect(window, &placed);
        EXPECT_EQ(s.left, placed.left) << s.width;
        EXPECT_EQ(s.top, placed.top) << s.width;
        EXPECT_EQ(s.width, placed.right - placed.left);
        EXPECT_EQ(s.height, placed.bottom - placed.top);
        ASSERT_EQ(1u, display.views.size());
        EXPECT_EQ(change.scale, display.views[0]->scale) << s.width;
        EXPECT_EQ(s.width, display.views[0]->buffer.size().width);
        EXPECT_EQ(s.height, display.views[0]->buffer.size().height);
        // The world is renewed at the next tick.
        const DWORD start = GetTickCount();
        while (WorldClient(display).width != s.width / change.scale && GetTickCount() - start < 5000) {
            PumpFor(20);
        }
        EXPECT_EQ(s.width / change.scale, WorldClient(display).width);
        EXPECT_EQ(s.height / change.scale, WorldClient(display).height);
    }

    // A picture buffer too big to make ends the saver rather than leave the
    // screen black.
    testMonitors = {{{0, 0, 60000, 60000}, 96}};
    SendMessageA(window, WM_DISPLAYCHANGE, 0, 0);
    DrainQueue();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(display.views.empty());
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
}

namespace {

// Two monitors side by side, of different heights, so that a strip of
// their bounds (200..359 x 120..149) is on neither.
constexpr ScreenRect kLeftMonitor{0, 0, 200, 150};
constexpr ScreenRect kRightMonitor{200, 0, 160, 120};
constexpr int kBoundsWidth = 360;
constexpr int kBoundsHeight = 150;

Settings TwoMonitorSettings() {
    Settings settings = DefaultSettings();
    settings.Speed = 0;  // two seconds before the thread's first tick
    settings.Size = CellSize::Small;
    settings.Tovtov = OnOffRandom::On;
    settings.Colors = SpeciesMode::Six;
    settings.Generations = 1000;
    return settings;
}

// A saver painted alone into memory at a monitor's logical size: what that
// monitor should show, each pixel scale x scale.
struct PaintedAlone {
    PaintedAlone(const Settings& settings, const ScreenRect& monitor, int monitorScale, uint32_t seed,
                 const DecodedSheet& sheet)
        : scale(monitorScale),
          frame(monitor.width / monitorScale, monitor.height / monitorScale),
          target(frame, &sheet.indices) {
        saver.start(settings, {frame.width, frame.height}, seed);
    }
    void tick() { saver.tick(target); }

    int scale;
    IndexedImage frame;
    FrameTarget target;
    Saver saver;
};

// Counts (and reports the first few) pixels of the capture inside part that
// differ from alone's frame.
int CountWrongInPart(const CapturedPixels& got, const ScreenRect& part, const PaintedAlone& alone,
                     const DecodedSheet& sheet) {
    int wrong = 0;
    for (int y = 0; y < part.height; ++y) {
        for (int x = 0; x < part.width; ++x) {
            const uint32_t expected = sheet.colours[alone.frame.at(x / alone.scale, y / alone.scale)];
            const uint32_t pixel = got.at(part.left + x, part.top + y);
            if (expected != pixel && wrong++ < 5) {
                ADD_FAILURE() << "pixel " << part.left + x << "," << part.top + y << ": expected " << std::hex
                              << expected << ", got " << pixel << std::dec;
            }
        }
    }
    return wrong;
}

}  // namespace

TEST(SaverDisplay, EachMonitorShowsItsOwnWorldAtItsOwnScaleAndTheRestStaysBlack) {
    DecodedSheet sheet;
    ASSERT_TRUE(sheet.load()) << "the test program carries no usable LIFE9DIB";
    DisplayState display;
    display.instance = GetModuleHandleA(nullptr);
    display.settings = TwoMonitorSettings();
    display.seed = 20261208u;
    testMonitors = {{kLeftMonitor, 192}, {kRightMonitor, 96}};
    display.monitors = TestMonitors;
    display.coversMonitors = true;
    HWND window = CreateDisplayWindow(display);
    ASSERT_NE(nullptr, window);
    StopAnimation(display.animation);  // this test ticks itself

    RECT placed{};
    GetWindowRect(window, &placed);
    EXPECT_EQ(kBoundsWidth, placed.right - placed.left) << "the window covers both monitors";
    EXPECT_EQ(kBoundsHeight, placed.bottom - placed.top);
    ASSERT_EQ(2u, display.views.size());
    EXPECT_EQ(2, display.views[0]->scale);
    EXPECT_EQ(1, display.views[1]->scale);

    // The first world from the seed, the next from the next number.
    PaintedAlone left(display.settings, kLeftMonitor, 2, 20261208u, sheet);
    PaintedAlone right(display.settings, kRightMonitor, 1, 20261209u, sheet);
    const ScreenRect rightPart{200, 0, 160, 120};
    for (int n = 1; n <= 40; ++n) {
        RunTick(display, window);
        left.tick();
        right.tick();
        if (n % 20 == 0) {
            SCOPED_TRACE(n);
            const CapturedPixels got = CaptureClient(window, kBoundsWidth, kBoundsHeight);
            ASSERT_EQ(static_cast<size_t>(kBoundsWidth) * kBoundsHeight, got.pixels.size());
            EXPECT_EQ(0, CountWrongInPart(got, kLeftMonitor, left, sheet)) << "the monitor at 192 DPI";
            EXPECT_EQ(0, CountWrongInPart(got, rightPart, right, sheet)) << "the monitor at 96 DPI";
            EXPECT_EQ(0u, got.countNonBlack({200, 120, kBoundsWidth, kBoundsHeight})) << "the strip no monitor shows";
            EXPECT_GT(got.countNonBlack({0, 0, kBoundsWidth, kBoundsHeight}), 0u) << "no live cell to check";
        }
    }
    DestroyWindow(window);
    EXPECT_TRUE(display.views.empty());
}

TEST(SaverDisplay, MonitorsComingAndGoingLeaveTheKeptOneItsWorldAndGiveBackEveryObject) {
    ASSERT_TRUE(StartGdiLedger()) << "the GDI imports could not be counted";
    DecodedSheet sheet;
    ASSERT_TRUE(sheet.load()) << "the test program carries no usable LIFE9DIB";
    DisplayState display;
    display.instance = GetModuleHandleA(nullptr);
    display.settings = TwoMonitorSettings();
    display.seed = 7u;
    const MonitorList both{{kLeftMonitor, 96}, {kRightMonitor, 96}};
    const MonitorList leftOnly{{kLeftMonitor, 96}};
    testMonitors = both;
    display.monitors = TestMonitors;
    display.coversMonitors = true;
    HWND window = CreateDisplayWindow(display);
    ASSERT_NE(nullptr, window);
    StopAnimation(display.animation);
    ASSERT_EQ(2u, display.views.size());
    const MonitorView* kept = display.views[0].get();
    ASSERT_NE(nullptr, kept->buffer.sprites());

    PaintedAlone left(display.settings, kLeftMonitor, 1, 7u, sheet);
    RunTick(display, window);
    left.tick();
    const GdiLedger before = ReadGdiLedger();
    for (int n = 0; n < 100; ++n) {
        for (const MonitorList* monitors : {&leftOnly, &both}) {
            testMonitors = *monitors;
            SendMessageA(window, WM_DISPLAYCHANGE, 0, 0);
            DrainQueue();
            ASSERT_EQ(monitors->size(), display.views.size()) << n;
            ASSERT_EQ(kept, display.views[0].get()) << n;
            // One copy of the sprites for each scale in use.
            EXPECT_EQ(kept->buffer.sprites(), display.views.back()->buffer.sprites()) << n;
            RunTick(display, window);
            left.tick();
        }
    }
    const GdiLedger after = ReadGdiLedger();
    EXPECT_EQ(after.created - before.created, after.deleted - before.deleted)
        << "made " << after.created - before.created;
    EXPECT_GE(after.created - before.created, 100) << "the right monitor's picture is made anew each time";
    EXPECT_EQ(after.dcsTaken - before.dcsTaken, after.dcsReleased - before.dcsReleased);

    // Ticked all along, its world never renewed; the picture is whole again
    // after the window was resized under it.
    UpdateWindow(window);
    const CapturedPixels got = CaptureClient(window, kBoundsWidth, kBoundsHeight);
    ASSERT_EQ(static_cast<size_t>(kBoundsWidth) * kBoundsHeight, got.pixels.size());
    EXPECT_EQ(0, CountWrongInPart(got, kLeftMonitor, left, sheet));
    EXPECT_EQ(left.saver.randomState(), display.views[0]->saver.randomState());
    DestroyWindow(window);
}

TEST(SaverDisplay, ABurstOfDisplayChangesIsFollowedOnceAndInputIsNotKeptWaiting) {
    DisplayState display;
    display.instance = GetModuleHandleA(nullptr);
    display.settings = DefaultSettings();
    display.next = NoteKey;
    display.monitors = CountedMonitors;
    display.coversMonitors = true;
    HWND window = CreateDisplayWindow(display);
    ASSERT_NE(nullptr, window);
    follows = 0;
    followsAtKey = -1;

    constexpr int kChanges = 10000;
    int posted = 0;
    for (int n = 0; n < kChanges; ++n) {
        posted += PostMessageA(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(kWidth, kHeight)) != FALSE;
    }
    ASSERT_EQ(kChanges, posted);
    ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0));
    DrainQueue();

    EXPECT_GE(followsAtKey, 0) << "the key never reached the next stage";
    EXPECT_LE(followsAtKey, 1) << "follows of the screen run before the key";
    EXPECT_EQ(1, follows) << "follows of the screen for one burst";
    DestroyWindow(window);
}
