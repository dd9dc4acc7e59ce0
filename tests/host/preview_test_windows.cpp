// Preview runs inside a window of the test, standing in for the display
// settings page.
#include <cstdio>

#include "saver_fixture_windows.h"

namespace {

struct ParentLog {
    int helpCount = 0;
    HELPINFO help{};
    WPARAM helpWParam = 0;
    int contextMenuCount = 0;
    WPARAM contextMenuWParam = 0;
    LPARAM contextMenuLParam = 0;
};
ParentLog parentLog;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HELP: {
            ++parentLog.helpCount;
            parentLog.helpWParam = wParam;
            const HELPINFO* info = reinterpret_cast<const HELPINFO*>(lParam);
            if (info)
                parentLog.help = *info;
            return 1;
        }
        case WM_CONTEXTMENU:
            ++parentLog.contextMenuCount;
            parentLog.contextMenuWParam = wParam;
            parentLog.contextMenuLParam = lParam;
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateParent() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA parentClass{};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hInstance = GetModuleHandleA(nullptr);
        parentClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        parentClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        parentClass.lpszClassName = "QuorbelTestPreviewParent";
        registered = RegisterClassA(&parentClass) != 0;
    }
    parentLog = ParentLog{};
    HWND parent = CreateWindowExA(0, "QuorbelTestPreviewParent", "Display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  100, 100, 337, 251, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpFor(100);
    return parent;
}

std::string NumberOf(HWND window) {
    char text[16];
    std::snprintf(text, sizeof(text), "%lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

HCURSOR CurrentCursor() {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    GetCursorInfo(&cursor);
    return cursor.hCursor;
}

class Preview : public SaverTest {};

TEST_F(Preview, FillsTheParentAndIgnoresInputUntilTheParentGoes) {
    HWND parent = CreateParent();
    ASSERT_NE(parent, nullptr);
    SaverProcess saver;
    startSaver(saver, "/p " + NumberOf(parent));
    HWND preview = WaitForPreviewWindow(parent, kWindowWait);
    ASSERT_NE(preview, nullptr) << "no preview window inside the parent";

    char title[32] = {};
    GetWindowTextA(preview, title, sizeof(title));
    EXPECT_STREQ(title, "Preview");
    RECT parentClient{};
    RECT previewClient{};
    GetClientRect(parent, &parentClient);
    GetClientRect(preview, &previewClient);
    EXPECT_EQ(previewClient.right, parentClient.right);
    EXPECT_EQ(previewClient.bottom, parentClient.bottom);

    // What the preview shows is judged in preview_screen_test: under Wine a
    // child of another process's window never reaches the X display.
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    RECT inside{origin.x, origin.y, origin.x + parentClient.right, origin.y + parentClient.bottom};

    // Input over the preview does not end it, and the cursor stays visible:
    // sharing the preview's input state, an arrow set here must survive.
    DWORD previewThread = GetWindowThreadProcessId(preview, nullptr);
    AttachThreadInput(GetCurrentThreadId(), previewThread, TRUE);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    MoveCursorTo(inside.left + 40, inside.top + 40);
    PumpFor(100);
    MoveCursorTo(inside.left + 140, inside.top + 100);
    SendMessageA(preview, WM_SETCURSOR, reinterpret_cast<WPARAM>(preview), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ClickLeft();
    PressKey('Q');
    ReleaseKey('Q');
    EXPECT_EQ(saver.waitForExit(kStaysOpen), kStillRunning);
    EXPECT_NE(CurrentCursor(), nullptr) << "the preview hid the cursor";
    AttachThreadInput(GetCurrentThreadId(), previewThread, FALSE);

    DestroyWindow(parent);
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
}

TEST_F(Preview, HelpAndContextMenuGoToTheParent) {
    HWND parent = CreateParent();
    ASSERT_NE(parent, nullptr);
    SaverProcess saver;
    startSaver(saver, "/l " + NumberOf(parent));
    HWND preview = WaitForPreviewWindow(parent, kWindowWait);
    ASSERT_NE(preview, nullptr);

    HELPINFO help{};
    help.cbSize = sizeof(help);
    help.iContextType = HELPINFO_WINDOW;
    help.iCtrlId = 1234;
    help.dwContextId = 101;
    help.MousePos = POINT{7, 9};
    EXPECT_EQ(SendMessageA(preview, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1);
    EXPECT_EQ(SendMessageA(preview, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(preview), MAKELPARAM(30, 40)), 1);
    for (int i = 0; i < 50 && (parentLog.helpCount == 0 || parentLog.contextMenuCount == 0); ++i) {
        PumpFor(20);
    }
    EXPECT_EQ(parentLog.helpCount, 1);
    EXPECT_EQ(parentLog.helpWParam, reinterpret_cast<WPARAM>(parent));
    EXPECT_EQ(parentLog.help.cbSize, sizeof(HELPINFO));
    EXPECT_EQ(parentLog.help.iCtrlId, 1234);
    EXPECT_EQ(parentLog.help.dwContextId, 101u);
    EXPECT_EQ(parentLog.help.MousePos.x, 7);
    EXPECT_EQ(parentLog.help.MousePos.y, 9);
    EXPECT_EQ(parentLog.contextMenuCount, 1);
    EXPECT_EQ(parentLog.contextMenuWParam, reinterpret_cast<WPARAM>(parent));
    EXPECT_EQ(parentLog.contextMenuLParam, MAKELPARAM(30, 40));

    // A close request from outside ends a preview.
    PostMessageA(preview, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
    DestroyWindow(parent);
}

TEST_F(Preview, NumberOfNoWindowIsRefused) {
    HWND parent = CreateParent();
    std::string gone = NumberOf(parent);
    DestroyWindow(parent);
    SaverProcess saver;
    startSaver(saver, "/p " + gone);
    EXPECT_EQ(saver.waitForExit(kExitWait), kRefused);
}

}  // namespace
