// What a preview shows on the screen. Under Wine a child window whose parent
// belongs to another process never reaches the X display, so a screenshot of
// the program's preview in a window of the test would only show the test's
// own window. Here the host's preview runs on a thread of the test, inside a
// black window of its own, and the X display is judged: sprites inside the
// preview's rectangle, nothing lit around it.
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "host/host_main_windows.h"
#include "host/host_state_windows.h"
#include "saver_harness_windows.h"

namespace {

constexpr int kMargin = 32;
constexpr int kPreviewWidth = 333;
constexpr int kPreviewHeight = 247;

HWND CreateBlackWindow(const char* className, DWORD exStyle, DWORD style, int left, int top, int width, int height,
                       HWND parent) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(exStyle, className, "", style | WS_VISIBLE, left, top, width, height, parent, nullptr,
                           windowClass.hInstance, nullptr);
}

TEST(PreviewOnScreen, SpritesAppearInsideThePreviewAndNowhereAround) {
    // A black frame with the preview's parent inset in it: what the preview
    // draws outside its own rectangle lands on the frame.
    HWND frame = CreateBlackWindow("QuorbelTestPreviewFrame", WS_EX_TOPMOST, WS_POPUP, 100, 100,
                                   kPreviewWidth + 2 * kMargin, kPreviewHeight + 2 * kMargin, nullptr);
    ASSERT_NE(frame, nullptr);
    HWND parent = CreateBlackWindow("QuorbelTestPreviewParent", 0, WS_CHILD, kMargin, kMargin, kPreviewWidth,
                                    kPreviewHeight, frame);
    ASSERT_NE(parent, nullptr);
    PumpFor(200);

    hostState.instance = GetModuleHandleA(nullptr);
    char number[16];
    std::snprintf(number, sizeof(number), "%lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(parent)));
    int32_t result = -2;
    std::thread preview([&] { result = RunPreview(number); });

    RECT around{100, 100, 100 + kPreviewWidth + 2 * kMargin, 100 + kPreviewHeight + 2 * kMargin};
    RECT inside{around.left + kMargin, around.top + kMargin, around.right - kMargin, around.bottom - kMargin};
    size_t lit = 0;
    CapturedPixels screen;
    for (int attempt = 0; attempt < 50 && lit == 0; ++attempt) {
        PumpFor(100);
        screen = CaptureScreen();
        lit = screen.countNonBlack(inside);
    }
    EXPECT_NE(FindWindowExA(parent, nullptr, kSaverClass, "Preview"), nullptr);
    EXPECT_GT(lit, 0u) << "nothing the preview draws is on the screen";
    EXPECT_EQ(screen.countNonBlack(around) - lit, 0u) << "the preview drew outside its rectangle";

    DestroyWindow(frame);
    preview.join();
    EXPECT_EQ(result, 0);
}

}  // namespace
