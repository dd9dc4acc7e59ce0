// The display as the saver runs it: DisplayWindowProc as a window's
// procedure, with the real sheet from this program's resources, the
// registry settings and the animation thread.
#include <gtest/gtest.h>

#include <windows.h>

#include "display/display_state_windows.h"
#include "display/display_window_windows.h"
#include "display/packed_dib.h"
#include "expected_picture.h"
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

// The sheet as this program carries it: palette indices and colours.
struct DecodedSheet {
    IndexedImage indices;
    std::vector<uint32_t> colours;  // 0x00RRGGBB by index

    bool load() {
        HRSRC info = FindResourceA(nullptr, "LIFE9DIB", RT_BITMAP);
        HGLOBAL loaded = info ? LoadResource(nullptr, info) : nullptr;
        const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
        const size_t size = info ? SizeofResource(nullptr, info) : 0;
        PackedDibLayout layout;
        if (!data || !ParsePackedDib(data, size, &layout) || !DecodePackedRle8(data, size, &indices)) {
            return false;
        }
        for (uint32_t i = 0; i < layout.colorCount; ++i) {
            const RgbColor c = PackedDibColor(data, layout, i);
            colours.push_back((uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue);
        }
        return true;
    }
};

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
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DisplayWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorbelSaverDisplayTest";
    ASSERT_NE(0, RegisterClassA(&windowClass));
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Preview", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                  nullptr, nullptr, windowClass.hInstance, &display);
    ASSERT_NE(nullptr, window);

    // Creation started everything.
    EXPECT_NE(nullptr, display.sheetResource);
    EXPECT_EQ(540, display.sheet.sprites.width);
    EXPECT_NE(nullptr, display.sheet.palette);
    EXPECT_EQ(kWidth, display.buffer.frame().width);
    ASSERT_NE(nullptr, display.animation.thread);
    EXPECT_NE(nullptr, display.animation.wakeEvent);
    EXPECT_TRUE(display.saver.running());

    // Let the thread run, whatever the stored settings are, then take over
    // the ticks to check the picture.
    PumpFor(1000);
    StopAnimation(display.animation);
    EXPECT_EQ(nullptr, display.animation.thread);
    const World& world = display.saver.world();
    EXPECT_EQ(kWidth / display.saver.effective().cellWidth, world.width);
    EXPECT_EQ(kHeight / display.saver.effective().cellHeight, world.height);

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
            const SheetPoint from = ExpectedSheetPoint(x, y, before, world, display.saver.effective());
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
    EXPECT_EQ(0, display.buffer.frame().width);
    EXPECT_EQ(nullptr, display.animation.wakeEvent);
    EXPECT_FALSE(display.saver.running());
}
