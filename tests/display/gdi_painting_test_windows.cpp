// The painter's GDI path in a real window: after some ticks, the window shows
// each live cell's sprite and black everywhere else, strips included.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "display/sheet_geometry.h"
#include "expected_picture.h"
#include "gdi_ledger_windows.h"
#include "host/display_state_windows.h"
#include "test_window_windows.h"

namespace {

class GdiPainting : public ::testing::TestWithParam<bool> {
protected:
    static constexpr int kWidth = kTestWindowWidth;
    static constexpr int kHeight = kTestWindowHeight;

    void SetUp() override {
        window = TestWindow();
        ASSERT_NE(nullptr, window);
        display.sheet = CreateSyntheticSheet();
        ASSERT_NE(nullptr, display.sheet.palette);
        ASSERT_TRUE(view.buffer.create({kWidth, kHeight}, display.sheet));
    }

    void TearDown() override { ReleaseSheetGraphics(display.sheet); }

    void ExpectWindowShows(const std::vector<CellSnapshot>& before) {
        const std::vector<uint32_t> pixels = ReadClient(window, kWidth, kHeight);
        int wrong = 0;
        int sprites = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const SheetPoint from = ExpectedSheetPoint(x, y, before, view.saver.world(), view.saver.effective());
                sprites += !from.black;
                const uint32_t expected = from.black ? 0 : SheetColour(from.x, from.y);
                const uint32_t got = pixels[static_cast<size_t>(y) * kWidth + x];
                if (expected != got && wrong++ < 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << ": expected " << std::hex << expected << ", got "
                                  << got << std::dec;
                }
            }
        }
        EXPECT_EQ(0, wrong) << "wrong pixels";
        EXPECT_GT(sprites, 0) << "no live cell to check";
    }

    HWND window = nullptr;
    DisplayState display;
    MonitorView& view = AddView(display, {0, 0, kWidth, kHeight}, 1);
};

}  // namespace

TEST_P(GdiPainting, WindowShowsTheLiveCellsAndBlackElsewhere) {
    const bool wriggle = GetParam();
    Settings settings = DefaultSettings();
    settings.Tovtov = wriggle ? OnOffRandom::On : OnOffRandom::Off;
    settings.Size = wriggle ? CellSize::Small : CellSize::Middle;
    settings.Colors = SpeciesMode::Six;
    settings.Generations = 1000;
    Saver& saver = view.saver;
    saver.start(settings, {kWidth, kHeight}, wriggle ? 7u : 11u);
    ASSERT_GT(saver.world().width, 0);

    // Everything not drawn from now on would show white, which the sheet
    // has nowhere. A new world starts with the whole window cleared.
    FillClient(window, RGB(255, 255, 255));
    saver.resize({kWidth, kHeight});
    RunTick(display, window);
    const std::vector<uint32_t> cleared = ReadClient(window, kWidth, kHeight);
    EXPECT_EQ(0, std::count(cleared.begin(), cleared.end(), 0xFFFFFFu)) << "a new world starts on a black window";

    // Past 32 generations, so newborn, grown and (with wriggle) every
    // stretch stage appear.
    const int ticks = wriggle ? 40 : 24;
    std::vector<CellSnapshot> before;
    for (int n = 0; n < ticks; ++n) {
        before = TakeSnapshot(saver.world());
        const int64_t countdown = saver.world().countdown;
        RunTick(display, window);
        ASSERT_TRUE(saver.world().countdown == countdown || saver.world().countdown == countdown - 1)
            << "the world must not be replaced during this test";
    }
    EXPECT_EQ(nullptr, display.paintDC);
    ExpectWindowShows(before);
}

INSTANTIATE_TEST_SUITE_P(WriggleOffAndOn, GdiPainting, ::testing::Values(false, true));

TEST(GdiPaintingWithoutSheet, OnlyTheFillsHappen) {
    HWND window = TestWindow();
    FillClient(window, RGB(255, 255, 255));
    DisplayState display;  // no sheet
    MonitorView& view = AddView(display, {0, 0, kTestWindowWidth, kTestWindowHeight}, 1);
    ASSERT_TRUE(view.buffer.create({kTestWindowWidth, kTestWindowHeight}, {}));
    Settings settings = DefaultSettings();
    settings.Generations = 0;  // new worlds come quickly, each clearing the window
    view.saver.start(settings, {kTestWindowWidth, kTestWindowHeight}, 3u);
    for (int n = 0; n < 20; ++n) {
        RunTick(display, window);
    }
    const std::vector<uint32_t> pixels = ReadClient(window, kTestWindowWidth, kTestWindowHeight);
    EXPECT_EQ(std::vector<uint32_t>(pixels.size(), 0), pixels);
}

TEST(GdiPaintingResources, ManyTicksGiveBackEveryObjectAndDC) {
    ASSERT_TRUE(StartGdiLedger()) << "the GDI imports could not be counted";
    HWND window = TestWindow();
    DisplayState display;
    display.sheet = CreateSyntheticSheet();
    MonitorView& view = AddView(display, {0, 0, kTestWindowWidth, kTestWindowHeight}, 1);
    ASSERT_TRUE(view.buffer.create({kTestWindowWidth, kTestWindowHeight}, display.sheet));
    // Every choice Random and short-lived worlds: ticks draw newborns,
    // wriggles and erasures, and new worlds reseed, resize and clear.
    const Settings settings{SpeedMode::Random,
                            0,
                            OnOffRandom::Random,
                            CellSize::Random,
                            3,
                            OnOffRandom::Random,
                            OnOffRandom::Random,
                            OnOffRandom::Random,
                            SpeciesMode::Random};
    view.saver.start(settings, {kTestWindowWidth, kTestWindowHeight}, 5u);
    RunTick(display, window);  // anything made once per process is made here

    HANDLE process = GetCurrentProcess();
    const DWORD objectsBefore = GetGuiResources(process, GR_GDIOBJECTS);
    const GdiLedger before = ReadGdiLedger();
    for (int n = 0; n < 2000; ++n) {
        RunTick(display, window);
    }
    const GdiLedger after = ReadGdiLedger();
    const DWORD objectsAfter = GetGuiResources(process, GR_GDIOBJECTS);

    const LONG created = after.created - before.created;
    const LONG deleted = after.deleted - before.deleted;
    EXPECT_EQ(0, created) << "a tick makes no GDI object";
    EXPECT_EQ(0, deleted);
    EXPECT_EQ(2000, after.dcsTaken - before.dcsTaken);
    EXPECT_EQ(2000, after.dcsReleased - before.dcsReleased);
    // Wine reports 0 here; Windows gives the real count.
    EXPECT_EQ(objectsBefore, objectsAfter);

    ReleaseSheetGraphics(display.sheet);
}

// The display's clock, moved by the tests.
DWORD fakeTickCount = 0;
DWORD WINAPI FakeTickCount() { return fakeTickCount; }

void UseFakeClock(DisplayState& display) {
    fakeTickCount = 0;
    display.clock = TickCountClock(FakeTickCount);
}

// A view whose world starts now at this speed, paced from now.
MonitorView& AddPacedView(DisplayState& display, const ScreenRect& part, uint32_t speed) {
    MonitorView& view = AddView(display, part, 1);
    Settings settings = DefaultSettings();
    settings.Speed = speed;
    view.saver.start(settings, {part.width, part.height}, 3u);
    StartPacing(display, view);
    return view;
}

TEST(MonitorViewTicks, EachViewTicksAtItsOwnSpeedFromTheOneThreadsWaits) {
    // Two views whose worlds run at different speeds: 28 ms (Speed 19) and
    // 214 ms (Speed 10). The thread's waits are what tickDelay() answers;
    // a view has ticked when its next tick is due its whole delay away.
    DisplayState display;
    display.window = TestWindow();
    UseFakeClock(display);
    const int half = kTestWindowWidth / 2;
    MonitorView* views[2] = {&AddPacedView(display, {0, 0, half, kTestWindowHeight}, 19),
                             &AddPacedView(display, {half, 0, half, kTestWindowHeight}, 10)};
    ASSERT_EQ(28, views[0]->saver.tickDelay());
    ASSERT_EQ(214, views[1]->saver.tickDelay());

    uint32_t elapsed = 0;
    int ticks[2] = {0, 0};
    int together = 0;
    while (elapsed < 10000) {
        elapsed += display.tickDelay();
        fakeTickCount = elapsed;
        display.tick();
        bool ticked[2];
        for (int i = 0; i < 2; ++i) {
            ticked[i] = views[i]->pacer->millisecondsUntilDue(display.clock.now()) == views[i]->saver.tickDelay();
            ticks[i] += ticked[i];
        }
        together += ticked[0] && ticked[1];
    }
    EXPECT_EQ(elapsed / 28, static_cast<uint32_t>(ticks[0])) << "after " << elapsed << " ms";
    EXPECT_EQ(elapsed / 214, static_cast<uint32_t>(ticks[1])) << "after " << elapsed << " ms";
    // 28 x 107 = 214 x 14 = 2996: due at the same moment, they tick together.
    EXPECT_EQ(elapsed / 2996, static_cast<uint32_t>(together));
}

TEST(MonitorViewTicks, OneViewWaitsItsWholeDelayAsTheOneWorldDid) {
    // Speed 0: two seconds between ticks, one wait each, no wake between.
    DisplayState display;
    display.window = TestWindow();
    UseFakeClock(display);
    int wakes = 0;
    static int* counted = &wakes;
    display.beforeTick = [] { ++*counted; };
    AddPacedView(display, {0, 0, kTestWindowWidth, kTestWindowHeight}, 0);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(2000, display.tickDelay()) << n;
        fakeTickCount += 2000;
        display.tick();
        EXPECT_EQ(n, wakes);
    }
}

TEST(MonitorViewTicks, AViewMadeDuringAWaitAndTheTimeATickTakesKeepEveryViewToItsOwnPace) {
    // Two views at Speed 0 (2000 ms), the second made 1000 ms into the
    // first's wait, and ticks of 30 ms: the ticks come at 2000 (the first),
    // 3000 (the second), 4000, 5000; not the second early with the first,
    // nor each wait 30 ms late.
    DisplayState display;
    display.window = TestWindow();
    UseFakeClock(display);
    static std::vector<DWORD> wokeAt;
    wokeAt.clear();
    display.beforeTick = [] {
        wokeAt.push_back(fakeTickCount);
        fakeTickCount += 30;
    };
    const int half = kTestWindowWidth / 2;
    AddPacedView(display, {0, 0, half, kTestWindowHeight}, 0);
    fakeTickCount = 1000;
    AddPacedView(display, {half, 0, half, kTestWindowHeight}, 0);
    for (int wait = 0; wait < 10 && wokeAt.size() < 4; ++wait) {
        fakeTickCount += display.tickDelay();
        display.tick();
    }
    EXPECT_EQ(wokeAt, (std::vector<DWORD>{2000, 3000, 4000, 5000}));
}

TEST(MonitorViewTicks, ThePacingClockGoesOnAcrossTheTickCountsWrap) {
    fakeTickCount = 0xFFFFFF00u;
    TickCountClock clock(FakeTickCount);
    fakeTickCount = 0x100;
    EXPECT_EQ(0x200, clock.now().time_since_epoch().count()) << "49.7 days in, the count starts again at 0";
}
