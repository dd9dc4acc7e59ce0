// The configuration mode's entry: the dialog, its owner and its result as
// the exit code. The dialog itself is tested with its own suite.
#include <fstream>

#include "resources/resource_ids.h"
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

// A help file beside the program hides the help page only where the old
// viewer works: before Vista. From Vista on winhlp32.exe is a stub that
// only says the viewer is gone. Wine's own winhlp32 is a working viewer on
// every version, so the saver is told its version (Wine's per-program
// setting) and the viewer is switched off for this suite (see CMakeLists),
// which makes the old call fail at once with the dialog's message.
class HelpButton : public ConfigurationMode {
protected:
    void SetUp() override {
        ConfigurationMode::SetUp();
        page_ = folder_ + "\\Quorbel.html";
        record_ = folder_ + "\\help_page_opened.txt";
        std::ofstream(page_) << "<!DOCTYPE html><title>help</title>\n";
        std::ofstream(folder_ + "\\Quorbel.hlp") << "?_\x03";
        char previous[128] = {};
        LONG size = sizeof previous;
        hadHtml_ = RegQueryValueA(HKEY_CLASSES_ROOT, ".html", previous, &size) == ERROR_SUCCESS;
        previousHtml_ = previous;
        // An association for web pages whose "open" records what it was given.
        const std::string command = "cmd.exe /c echo %1> \"" + record_ + "\"";
        RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, "QuorbelTest.page", 0);
        RegSetValueA(HKEY_CLASSES_ROOT, "QuorbelTest.page\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    }
    void TearDown() override {
        DeleteValue(HKEY_CURRENT_USER, kAppDefaultsKey, "Version");
        DeleteKeyTree(HKEY_CLASSES_ROOT, "QuorbelTest.page");
        if (hadHtml_)
            RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, previousHtml_.c_str(), 0);
        else
            RegDeleteKeyA(HKEY_CLASSES_ROOT, ".html");
        for (const std::string& file : {page_, record_, folder_ + "\\Quorbel.hlp"})
            DeleteFileA(file.c_str());
        ConfigurationMode::TearDown();
    }
    // What the association was asked to open; empty when nothing yet.
    std::string opened() const {
        std::string line;
        std::getline(std::ifstream(record_), line);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        return line;
    }
    std::string page_, record_, previousHtml_;
    bool hadHtml_ = false;
};

TEST_F(HelpButton, TheHelpFileHidesThePageOnlyBeforeVista) {
    const bool win64 = sizeof(void*) == 8;
    const struct {
        const char* version;
        bool oldCall;
    } cases[] = {{win64 ? "winxp64" : "winxp", true}, {"vista", false}, {"win10", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        DeleteFileA(record_.c_str());
        SetStringValue(HKEY_CURRENT_USER, kAppDefaultsKey, "Version", c.version);
        SaverProcess saver;
        HWND dialog = openDialog(saver, "/c");
        ASSERT_NE(dialog, nullptr);
        PostMessageA(dialog, WM_COMMAND, IDC_HELP_BUTTON, 0);
        if (c.oldCall) {
            HWND failure = WaitForDialogOf(saver.id(), kWindowWait, dialog);
            EXPECT_NE(failure, nullptr) << "no message for the failed old call";
            EXPECT_EQ(opened(), "") << "the page was opened";
            if (failure)
                PostMessageA(failure, WM_COMMAND, IDOK, 0);
        } else {
            for (DWORD waited = 0; opened().empty() && waited < kWindowWait; waited += 50)
                PumpFor(50);
            EXPECT_EQ(lstrcmpiA(opened().c_str(), page_.c_str()), 0) << "opened \"" << opened() << "\"";
            if (HWND failure = WaitForDialogOf(saver.id(), 0, dialog)) {
                ADD_FAILURE() << "the old call was made";
                PostMessageA(failure, WM_COMMAND, IDOK, 0);
            }
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
    }
}

}  // namespace
