// Common set-up for the tests that run the real saver: a private copy of the
// program in a temporary folder, fast settings, and a known cursor position.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "saver_harness_windows.h"
#include "settings/settings_key.h"

constexpr DWORD kWindowWait = 15000;
constexpr DWORD kExitWait = 10000;
// How long a saver must stay up to count as not closed.
constexpr DWORD kStaysOpen = 700;
constexpr DWORD kRefused = static_cast<DWORD>(-1);

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kAppDefaultsKey[] = "Software\\Wine\\AppDefaults\\Quorbel.scr";
constexpr int kCursorX = 500;
constexpr int kCursorY = 400;

class SaverTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    // Gives the settings back as they were, for the tests that follow.
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Starts the saver with `arguments`; the test fails if it cannot.
    void startSaver(SaverProcess& saver, const std::string& arguments);
    // Starts a full-screen run and waits for its window.
    HWND startFullScreen(SaverProcess& saver);

    static std::string folder_;  // holds the copy of the program
    static std::string exe_;
};

// The Windows 95 family for the saver only (Wine's per-program version).
void UseWindows95Family(bool on);
