// The dialogs' texts read back as UTF-16 from the live windows, whatever
// the system's code page: run once under a Japanese locale, which gets the
// Japanese resources, and once under an English one, which gets the
// English. With QUORBEL_SCREENSHOT_DIR set it also saves pictures of both
// dialogs there (config_dialog_<tag>.bmp, about_box_<tag>.bmp).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "dialog_driver.h"
#include "expected_language.h"
#include "host/config/config_dialog_windows.h"
#include "host/config/windows_family_windows.h"
#include "quorbel_version.h"
#include "resources/resource_ids.h"
#include "screen_capture_windows.h"
#include "screenshot.h"
#include "stored_settings.h"
#include "windows95_family_skip.h"

namespace {

const std::vector<std::wstring> kJapaneseConfigTexts = {
    L"OK",
    L"ｷｬﾝｾﾙ",
    L"ﾊﾞｰｼﾞｮﾝ情報(&A)",
    L"ﾍﾙﾌﾟ(&H)",
    L"時の流れ(&P)",
    L"固定",
    L"ﾗﾝﾀﾞﾑ",
    L"遅く",
    L"速く",
    L"",
    L"生命の大きさ(&Z)",
    L"大",
    L"中",
    L"小",
    L"ﾗﾝﾀﾞﾑ",
    L"ﾗｲﾌｹﾞｰﾑ(&L)",
    L"あり",
    L"なし",
    L"ﾗﾝﾀﾞﾑ",
    L"上下左右のつながり(&C)",
    L"あり",
    L"なし",
    L"ﾗﾝﾀﾞﾑ",
    L"Tovtov(&U)",
    L"あり",
    L"なし",
    L"ﾗﾝﾀﾞﾑ",
    L"伸び縮み(&S)",
    L"あり",
    L"なし",
    L"ﾗﾝﾀﾞﾑ",
    L"増殖方式(&M)",
    L"1種族が細胞分裂",
    L"3種族が細胞分裂",
    L"6種族が有性生殖",
    L"ﾗﾝﾀﾞﾑ",
    L"安定後の世代数(&G)",
    L"20",
};

const std::vector<std::wstring> kEnglishConfigTexts = {
    L"OK",
    L"Cancel",
    L"&About...",
    L"&Help",
    L"S&peed",
    L"Fixed",
    L"Random",
    L"Slow",
    L"Fast",
    L"",
    L"Cell si&ze",
    L"Large",
    L"Medium",
    L"Small",
    L"Random",
    L"&Life rules",
    L"On",
    L"Off",
    L"Random",
    L"&Wrap edges",
    L"On",
    L"Off",
    L"Random",
    L"W&riggle",
    L"On",
    L"Off",
    L"Random",
    L"Grow and &shrink",
    L"On",
    L"Off",
    L"Random",
    L"Spe&cies",
    L"1 species, dividing",
    L"3 species, dividing",
    L"6 species, mating",
    L"Random",
    L"&Generations",
    L"20",
};

// Children in creation order, which is the template's order.
std::vector<std::wstring> ChildTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        texts.push_back(Text(child));
    }
    return texts;
}

void ExpectNoReplacementCharacters(const std::vector<std::wstring>& texts) {
    for (const std::wstring& text : texts) {
        EXPECT_EQ(text.find(L'?'), std::wstring::npos);
        EXPECT_EQ(text.find(L'\xFFFD'), std::wstring::npos);
    }
}

std::wstring ScreenshotPath(const char* name) {
    const char* dir = std::getenv("QUORBEL_SCREENSHOT_DIR");
    if (!dir || !*dir)
        return {};
    const char* tag = std::getenv("QUORBEL_SCREENSHOT_TAG");
    std::string path = std::string(dir) + "\\" + name + "_" + (tag ? tag : "shot") + ".bmp";
    return std::wstring(path.begin(), path.end());
}

void SaveScreenshot(HWND window, const char* name) {
    const std::wstring path = ScreenshotPath(name);
    if (path.empty())
        return;
    Sleep(500);  // let the window finish painting
    SendMessageW(window, WM_NULL, 0, 0);
    EXPECT_TRUE(SaveWindowBitmap(window, path));
}

// The version line as the screen shows it: its dark columns span the whole
// text as the control's font draws it, so nothing of it wrapped out of
// sight (the control is one line tall).
void ExpectWholeTextShown(HWND control) {
    const std::wstring text = Text(control);
    SIZE size{};
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    const RECT area = WindowRect(control);
    int inked = 0;
    WaitUntil([&] {
        const CapturedPixels screen = CaptureScreen();
        int left = INT_MAX, right = -1;
        for (int y = std::max(0L, area.top); y < std::min<long>(area.bottom, screen.height); ++y) {
            for (int x = std::max(0L, area.left); x < std::min<long>(area.right, screen.width); ++x) {
                const uint32_t p = screen.at(x, y);
                if (((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 96) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        inked = right - left + 1;
        return inked >= size.cx * 9 / 10;
    });
    EXPECT_GE(inked, size.cx * 9 / 10) << "of the text's " << size.cx << " pixels in a control "
                                       << area.right - area.left << " wide";
}

// On the 95 family the dialogs are made through the ANSI calls, which keep
// the texts of the locale's language, as its code page holds them.
class DialogText : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam() && !kBuildRunsOnWindows95Family)
            GTEST_SKIP() << kNoWindows95Family;
        SetWindows95Family(GetParam());
    }
    void TearDown() override { SetWindows95Family(false); }
};

INSTANTIATE_TEST_SUITE_P(Family, DialogText, testing::Values(false, true), FamilyName);

TEST_P(DialogText, ConfigAndAboutTextsReadBackAsWritten) {
    DeleteStoredSettings();
    const DWORD dialogThread = GetCurrentThreadId();
    RunDrivenConfigDialog(nullptr, [&](HWND dialog) {
        EXPECT_EQ(IsWindowUnicode(dialog) == FALSE, GetParam()) << "made through the family's calls";
        EXPECT_EQ(Text(dialog), kConfigCaption);
        const std::vector<std::wstring> texts = ChildTexts(dialog);
        EXPECT_EQ(texts, ExpectJapaneseTexts() ? kJapaneseConfigTexts : kEnglishConfigTexts);
        ExpectNoReplacementCharacters(texts);
        SaveScreenshot(dialog, "config_dialog");

        PostClick(dialog, IDC_ABOUT_BUTTON);
        HWND about = WaitForThreadDialog(dialogThread, kAboutCaption, dialog);
        ASSERT_NE(about, nullptr);
        const std::vector<std::wstring> aboutTexts = ChildTexts(about);
        ASSERT_EQ(aboutTexts.size(), 6u);
        EXPECT_EQ(aboutTexts[0], L"OK");
        EXPECT_EQ(aboutTexts[1], ExpectJapaneseTexts() ? L"Tovtovﾗｲﾌｹﾞｰﾑ ｽｸﾘｰﾝ ｾｰﾊﾞｰ for Windows 95"
                                                       : L"Tovtov Life Game Screen Saver for Windows 95");
        EXPECT_EQ(aboutTexts[2], L"" QUORBEL_ABOUT_VERSION_TEXT);
        HWND versionLine = GetWindow(GetWindow(GetWindow(about, GW_CHILD), GW_HWNDNEXT), GW_HWNDNEXT);
        ExpectWholeTextShown(versionLine);
        ExpectNoReplacementCharacters(aboutTexts);
        SaveScreenshot(about, "about_box");
        SendMessageW(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([about] { return !IsWindow(about); }));
        Click(dialog, IDCANCEL);
    });
}

}  // namespace
