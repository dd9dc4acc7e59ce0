// The saver password on the Windows 95 family, with a stand-in
// "PASSWORD.CPL" whose answers the tests script through the registry.
#include "saver_fixture_windows.h"
#include "standin_registry_windows.h"
#include "windows95_family_skip.h"

namespace {

std::string SystemPath(const char* file) {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + file;
}

std::string Sequence() {
    char sequence[256] = {};
    ReadStandInString("Sequence", sequence, sizeof(sequence) - 1);
    return sequence;
}

std::string LoadedFrom() {
    char path[MAX_PATH] = {};
    ReadStandInString("LoadedFrom", path, sizeof(path) - 1);
    return path;
}

bool CursorHidden() {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    return GetCursorInfo(&cursor) && cursor.hCursor == nullptr;
}

class Password : public SaverTest {
protected:
    void SetUp() override {
        SaverTest::SetUp();
        if (!kBuildRunsOnWindows95Family)
            GTEST_SKIP() << kNoWindows95Family;
        UseWindows95Family(true);
        DeleteKeyTree(HKEY_CURRENT_USER, kStandInKey);
        SetDwordValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword", 1);
    }
    void TearDown() override {
        DeleteValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword");
        DeleteFileA(SystemPath("PASSWORD.CPL").c_str());
        DeleteFileA((folder_ + "\\PASSWORD.CPL").c_str());
        DeleteKeyTree(HKEY_CURRENT_USER, kStandInKey);
        SaverTest::TearDown();
    }
    void installVerifier(const std::string& path) {
        ASSERT_TRUE(CopyFileA(QUORBEL_STANDIN_DLL, path.c_str(), FALSE))
            << "cannot place the stand-in at " << path << ": " << GetLastError();
    }
    // A full-screen run that must close at the first key press, unasked.
    void expectNoCheck() {
        SaverProcess saver;
        ASSERT_NE(startFullScreen(saver), nullptr);
        PressKey('Q');
        ReleaseKey('Q');
        EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
        EXPECT_EQ(ReadStandInDword("Calls", 0), 0u);
        EXPECT_EQ(ReadStandInDword("Loads", 0), 0u) << "loaded from " << LoadedFrom();
    }
};

TEST_F(Password, RefusalKeepsTheSaverAndApprovalEndsIt) {
    installVerifier(SystemPath("PASSWORD.CPL"));
    WriteStandInString("Answers", "01");
    WriteStandInDword("CloseAfterCall", 1);  // a close request right after the dialog

    SaverProcess saver;
    HWND window = startFullScreen(saver);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ReadStandInDword("Loads", 0), 1u);
    EXPECT_NE(LoadedFrom().find(SystemPath("")), std::string::npos) << LoadedFrom();

    // The first key press asks at once.
    PressKey('Q');
    ReleaseKey('Q');
    for (int i = 0; i < 100 && ReadStandInDword("Calls", 0) == 0; ++i)
        PumpFor(20);
    EXPECT_EQ(ReadStandInDword("Calls", 0), 1u);
    EXPECT_EQ(ReadStandInDword("Owner", 0), static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window)));
    EXPECT_EQ(ReadStandInDword("RunningDuringCall", 9), 1u) << "saver-running state";

    // Refused: running, cursor hidden, and the close request posted right
    // after the dialog came within 200 ms, so it was refused unasked.
    EXPECT_EQ(saver.waitForExit(kStaysOpen), kStillRunning);
    EXPECT_EQ(ReadStandInDword("Calls", 0), 1u) << "asked again within 200 ms";
    EXPECT_EQ(ReadStandInDword("CursorDuringCall", 0), 1u);
    EXPECT_TRUE(CursorHidden()) << "cursor left visible after the refusal";

    // Later, a key press asks again; the stand-in now approves.
    WriteStandInDword("CloseAfterCall", 0);
    PressKey('Q');
    ReleaseKey('Q');
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
    EXPECT_EQ(ReadStandInDword("Calls", 0), 2u);
    // On when the verifier was loaded, off once after the run, nowhere else.
    EXPECT_EQ(Sequence(), "+VV-");
}

TEST_F(Password, CloseRequestDuringTheDialogIsRefused) {
    installVerifier(SystemPath("PASSWORD.CPL"));
    WriteStandInString("Answers", "1");
    WriteStandInDword("CloseDuringCall", 1);
    WriteStandInDword("NestedCloseResult", 77);
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    MoveCursorTo(kCursorX + 40, kCursorY);
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
    EXPECT_EQ(ReadStandInDword("Calls", 0), 1u) << "a second dialog on top of the first";
    EXPECT_EQ(ReadStandInDword("NestedCloseResult", 77), 0u);
    EXPECT_EQ(Sequence(), "+V-");
}

TEST_F(Password, VerifierBesideTheSaverIsNeverLoaded) {
    installVerifier(folder_ + "\\PASSWORD.CPL");
    expectNoCheck();
}

TEST_F(Password, SettingOffAbsentOrTooLongAsksNothing) {
    installVerifier(SystemPath("PASSWORD.CPL"));
    SetDwordValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword", 0);
    expectNoCheck();
    DeleteValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword");
    expectNoCheck();
    const BYTE longer[5] = {1, 0, 0, 0, 0};
    SetBinaryValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword", longer, sizeof(longer));
    expectNoCheck();
}

TEST_F(Password, ShortValueCountsByItsOwnBytes) {
    installVerifier(SystemPath("PASSWORD.CPL"));
    WriteStandInString("Answers", "1");
    const BYTE one[1] = {1};
    SetBinaryValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword", one, 1);
    {
        SaverProcess saver;
        ASSERT_NE(startFullScreen(saver), nullptr);
        ClickLeft();
        EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
        EXPECT_EQ(ReadStandInDword("Calls", 0), 1u);
    }
    DeleteKeyTree(HKEY_CURRENT_USER, kStandInKey);
    const BYTE zero[2] = {0, 0};
    SetBinaryValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword", zero, 2);
    expectNoCheck();
}

TEST_F(Password, ChangePasswordEndsWithZero) {
    SaverProcess saver;
    startSaver(saver, "/a");
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
    SaverProcess withOwner;
    startSaver(withOwner, "/a 12345");
    EXPECT_EQ(withOwner.waitForExit(kExitWait), 0u);
}

}  // namespace
