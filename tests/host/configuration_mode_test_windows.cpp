// The configuration mode's entry: the dialog, its owner and its result as
// the exit code. The dialog itself is tested with its own suite.
#include "saver_fixture_windows.h"
#include "windows95_family_skip.h"

namespace {

class ConfigurationMode : public SaverTest {
protected:
    // Starts the program, finds its dialog and reports the dialog's owner.
    HWND openDialog(SaverProcess& saver, const std::string& arguments) {
        startSaver(saver, arguments);
        HWND dialog = WaitForDialogOf(saver.id(), kWindowWait);
        EXPECT_NE(dialog, nullptr) << "no dialog for \"" << arguments << "\"";
        return dialog;
    }
};

TEST_F(ConfigurationMode, NoLetterOpensTheDialogWithoutOwner) {
    for (const char* arguments : {"", " - / "}) {
        SaverProcess saver;
        HWND dialog = openDialog(saver, arguments);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr) << "\"" << arguments << "\"";
        EXPECT_TRUE(IsWindowUnicode(dialog)) << "the NT family keeps the wide calls";
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(saver.waitForExit(kExitWait), 0u) << "Cancel ends with 0";
    }
}

TEST_F(ConfigurationMode, LetterCIsOwnedByTheForegroundWindow) {
    HWND foreground = CreateWindowExA(0, "STATIC", "Display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                      200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(foreground, nullptr);
    SetForegroundWindow(foreground);
    PumpFor(100);
    ASSERT_EQ(GetForegroundWindow(), foreground);
    SaverProcess saver;
    // The number after the letter is not read.
    HWND dialog = openDialog(saver, "/c:1234");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), foreground);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
    DestroyWindow(foreground);
}

// The 95 family's wide dialog calls fail, so there the dialog must come
// from the ANSI ones: an ANSI dialog window, and an ANSI edit-box subclass.
TEST_F(ConfigurationMode, OnTheWindows95FamilyTheDialogOpensThroughTheAnsiCalls) {
    if (!kBuildRunsOnWindows95Family)
        GTEST_SKIP() << kNoWindows95Family;
    UseWindows95Family(true);
    SaverProcess saver;
    HWND dialog = openDialog(saver, "/c");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowUnicode(dialog));
    HWND generations = GetDlgItem(dialog, 1005);
    ASSERT_NE(generations, nullptr);
    EXPECT_FALSE(IsWindowUnicode(generations));
    char text[16] = {};
    // GetWindowText would not ask a window of another process.
    SendMessageA(generations, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    EXPECT_STRNE(text, "") << "the generation count is shown";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u) << "Cancel ends with 0";
}

}  // namespace
