// Full-screen runs of the real program, ended by real input.
#include "saver_fixture_windows.h"

namespace {

class FullScreen : public SaverTest {};

TEST_F(FullScreen, BlackTopMostWindowOverTheWholeScreen) {
    SaverProcess saver;
    HWND window = startFullScreen(saver);
    ASSERT_NE(window, nullptr);

    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Screen Saver");
    // Every monitor: the whole virtual screen.
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_VISIBLE), static_cast<LONG>(WS_POPUP | WS_VISIBLE));

    // A title change is refused and the title stays.
    EXPECT_EQ(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Screen Saver");

    // Mostly black, with sprites once the ticks run.
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    size_t area = static_cast<size_t>(screen.right) * screen.bottom;
    size_t lit = 0;
    for (int attempt = 0; attempt < 40 && lit == 0; ++attempt) {
        PumpFor(100);
        lit = CaptureScreen().countNonBlack(screen);
    }
    EXPECT_GT(lit, 0u) << "no sprite drawn within 4 s";
    EXPECT_LT(lit, area / 2) << "the background is not black";
    EXPECT_TRUE(saver.running());
}

TEST_F(FullScreen, PostedTimerFloodNeitherBreaksThePictureNorHoldsUpAKey) {
    SaverProcess saver;
    HWND window = startFullScreen(saver);
    ASSERT_NE(window, nullptr);
    // Any process may post WM_TIMER to the window. Only the animation thread
    // ticks the world, so these are handled at once, and nothing else steps
    // the world or draws beside the animation thread.
    for (int n = 0; n < 20000; ++n) {
        ASSERT_TRUE(PostMessageA(window, WM_TIMER, 1, 0));
    }
    PumpFor(1000);
    ASSERT_TRUE(saver.running());
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const size_t lit = CaptureScreen().countNonBlack(screen);
    EXPECT_GT(lit, 0u);
    EXPECT_LT(lit, static_cast<size_t>(screen.right) * screen.bottom / 2) << "the background is not black";

    PressKey('Q');
    ReleaseKey('Q');
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
}

TEST_F(FullScreen, KeyPressEndsTheRunWithZero) {
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    PressKey('Q');
    ReleaseKey('Q');
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
}

TEST_F(FullScreen, ReleasesWheelAndStillMovesDoNotEndIt) {
    SaverProcess saver;
    HWND window = startFullScreen(saver);
    ASSERT_NE(window, nullptr);
    ReleaseKey('Q');
    SendMouseEvent(MOUSEEVENTF_LEFTUP);
    SendMouseEvent(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
    // A mouse-move message far from the cursor, which has not moved: the
    // cursor position decides, not the message's coordinates.
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(kCursorX + 300, kCursorY + 200));
    EXPECT_EQ(saver.waitForExit(kStaysOpen), kStillRunning);
}

TEST_F(FullScreen, AltAloneEndsTheRun) {
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    PressKey(VK_MENU);
    ReleaseKey(VK_MENU);
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
}

TEST_F(FullScreen, SwitchingToAnotherApplicationEndsTheRun) {
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    HWND other = CreateWindowExA(0, "STATIC", "Another application", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
    DestroyWindow(other);
}

TEST_F(FullScreen, ClickEndsTheRunWithZero) {
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    ClickLeft();
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
}

TEST_F(FullScreen, MovementOfFourStaysFiveCloses) {
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    // 2 across and 2 down: 4 in total.
    MoveCursorTo(kCursorX + 2, kCursorY + 2);
    EXPECT_EQ(saver.waitForExit(kStaysOpen), kStillRunning);
    // Back and forth within the area never closes.
    MoveCursorTo(kCursorX - 4, kCursorY);
    EXPECT_EQ(saver.waitForExit(kStaysOpen), kStillRunning);
    // 3 across and 2 down from where it started: 5.
    MoveCursorTo(kCursorX + 3, kCursorY + 2);
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
}

TEST_F(FullScreen, TaskSwitchCommandsAreSwallowed) {
    SaverProcess saver;
    HWND window = startFullScreen(saver);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_NEXTWINDOW, 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_PREVWINDOW, 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(saver.waitForExit(kStaysOpen), kStillRunning);
}

TEST_F(FullScreen, CursorRequestHidesTheCursor) {
    SaverProcess saver;
    HWND window = startFullScreen(saver);
    ASSERT_NE(window, nullptr);
    // Share the saver's input state, show an arrow, then let the saver answer.
    DWORD saverThread = GetWindowThreadProcessId(window, nullptr);
    ASSERT_TRUE(AttachThreadInput(GetCurrentThreadId(), saverThread, TRUE));
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    GetCursorInfo(&cursor);
    EXPECT_NE(cursor.hCursor, nullptr);
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    GetCursorInfo(&cursor);
    EXPECT_EQ(cursor.hCursor, nullptr) << "cursor still shown over the saver";
    AttachThreadInput(GetCurrentThreadId(), saverThread, FALSE);
    EXPECT_TRUE(saver.running());
}

TEST_F(FullScreen, SecondStartLeavesTheFirstRunning) {
    SaverProcess first;
    HWND window = startFullScreen(first);
    ASSERT_NE(window, nullptr);
    SaverProcess second;
    startSaver(second, "/s");
    EXPECT_EQ(second.waitForExit(kExitWait), 0u);
    EXPECT_TRUE(first.running());
    EXPECT_EQ(FindWindowA(kSaverClass, "Screen Saver"), window);
    PressKey('Q');
    ReleaseKey('Q');
    EXPECT_EQ(first.waitForExit(kExitWait), 0u);
}

TEST_F(FullScreen, UnusableCommandLinesEndWithMinusOne) {
    for (const char* arguments : {"/p 0", "/p:1234", "/p", "/l x", "/\ts", "- 7", "/x"}) {
        SaverProcess saver;
        startSaver(saver, arguments);
        EXPECT_EQ(saver.waitForExit(kExitWait), kRefused) << "arguments \"" << arguments << "\"";
    }
}

TEST_F(FullScreen, ChangePasswordIsRefusedOnTheNtFamily) {
    SaverProcess saver;
    startSaver(saver, "/a");
    EXPECT_EQ(saver.waitForExit(kExitWait), kRefused);
}

}  // namespace
