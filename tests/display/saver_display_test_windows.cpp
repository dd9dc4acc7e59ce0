// The display as the saver runs it: DisplayWindowProc as a window's
// procedure, with the real sheet from this program's resources, the
// registry settings and the animation thread.
#include <gtest/gtest.h>

#include <windows.h>

#include "display/animation_thread_windows.h"
#include "display/display_state_windows.h"
#include "display/display_window_windows.h"
#include "display/effective_settings.h"
#include "display/packed_dib.h"
#include "display/saver_world_windows.h"
#include "expected_picture.h"
#include "host/host_state_windows.h"
#include "screen_capture_windows.h"

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

    hostState.previewMode = true;  // the host's closing rules stay out of the way
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DisplayWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorbelSaverDisplayTest";
    ASSERT_NE(0, RegisterClassA(&windowClass));
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Preview", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);

    // Creation started everything.
    EXPECT_NE(nullptr, displayState.sheetResource);
    EXPECT_NE(nullptr, displayState.sheetBitmap);
    EXPECT_NE(nullptr, displayState.sheetPalette);
    ASSERT_NE(nullptr, displayState.animationThread);
    EXPECT_NE(nullptr, displayState.wakeEvent);

    // Let the thread run, whatever the stored settings are, then take over
    // the ticks to check the picture.
    PumpFor(1000);
    StopAnimation();
    EXPECT_EQ(nullptr, displayState.animationThread);
    EXPECT_EQ(kWidth / effectiveSettings.cellWidth, theWorld.width);
    EXPECT_EQ(kHeight / effectiveSettings.cellHeight, theWorld.height);

    std::vector<CellSnapshot> before;
    bool newWorld = true;
    for (int n = 0; n < 100 && newWorld; ++n) {
        before = TakeSnapshot(theWorld);
        const int64_t countdown = theWorld.countdown;
        const int32_t columns = theWorld.width;
        RunTick(window);
        newWorld =
            theWorld.width != columns || (theWorld.countdown != countdown && theWorld.countdown != countdown - 1);
    }
    ASSERT_FALSE(newWorld) << "every tick began a new world";

    const std::vector<uint32_t> pixels = ReadClient(window);
    int wrong = 0;
    int sprites = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const SheetPoint from = ExpectedSheetPoint(x, y, before, theWorld, effectiveSettings);
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
    EXPECT_EQ(nullptr, displayState.sheetResource);
    EXPECT_EQ(nullptr, displayState.sheetBitmap);
    EXPECT_EQ(nullptr, displayState.sheetPalette);
    EXPECT_EQ(nullptr, displayState.wakeEvent);
}
