// The real configuration dialog under Wine: its controls are worked from a
// second thread and the registry is checked afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "host/config/config_dialog_windows.h"
#include "host/config/windows_family_windows.h"
#include "resources/resource_ids.h"
#include "stored_settings.h"
#include "windows95_family_skip.h"

namespace {

class ConfigDialog : public testing::Test {
protected:
    void SetUp() override { DeleteStoredSettings(); }
    void TearDown() override { DeleteStoredSettings(); }

    void ExpectStored(const char* name, const char* word) {
        EXPECT_EQ(StoredWord(name).value_or("<missing>"), word) << name;
    }
    void ExpectStored(const char* name, uint32_t number) {
        const auto stored = StoredNumber(name);
        ASSERT_TRUE(stored.has_value()) << name << " missing";
        EXPECT_EQ(*stored, number) << name;
    }
};

// The key cases once per family. The 95 family's dialog runs through the
// ANSI calls, whose Japanese texts survive only under a Japanese code page,
// so that instance runs under a Japanese locale.
class ConfigDialogOnFamily : public ConfigDialog, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        if (windows95Family() && !kBuildRunsOnWindows95Family)
            GTEST_SKIP() << kNoWindows95Family;
        ConfigDialog::SetUp();
        SetWindows95Family(windows95Family());
    }
    void TearDown() override {
        SetWindows95Family(false);
        ConfigDialog::TearDown();
    }
    bool windows95Family() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Family, ConfigDialogOnFamily, testing::Values(false, true), FamilyName);

// Which button of each group is checked, as one value per group.
struct Shown {
    std::vector<int> checkedIds;
    int speed;
    std::wstring generations;
};

const std::vector<std::vector<int>>& Groups() {
    static const std::vector<std::vector<int>> groups = {
        {IDC_SPEED_RANDOM, IDC_SPEED_FIXED},
        {IDC_LIFEGAME_OFF, IDC_LIFEGAME_ON, IDC_LIFEGAME_RANDOM},
        {IDC_TOVTOV_OFF, IDC_TOVTOV_ON, IDC_TOVTOV_RANDOM},
        {IDC_SHRINK_OFF, IDC_SHRINK_ON, IDC_SHRINK_RANDOM},
        {IDC_SIZE_SMALL, IDC_SIZE_MIDDLE, IDC_SIZE_BIG, IDC_SIZE_RANDOM},
        {IDC_CONNECT_OFF, IDC_CONNECT_ON, IDC_CONNECT_RANDOM},
        {IDC_COLORS_ONE, IDC_COLORS_THREE, IDC_COLORS_SIX, IDC_COLORS_RANDOM},
    };
    return groups;
}

// The checked button of each group; 0 when none is checked, -1 when several are.
Shown ReadShown(HWND dialog) {
    Shown shown{{}, SpeedBarPosition(dialog), ControlText(dialog, IDC_GENERATIONS)};
    for (const auto& group : Groups()) {
        int checked = 0;
        for (int id : group) {
            if (Checked(dialog, id))
                checked = checked ? -1 : id;
        }
        shown.checkedIds.push_back(checked);
    }
    return shown;
}

void ExpectShown(HWND dialog, const std::vector<int>& checkedIds, int speed, const wchar_t* generations) {
    const Shown shown = ReadShown(dialog);
    EXPECT_EQ(shown.checkedIds, checkedIds);
    EXPECT_EQ(shown.speed, speed);
    EXPECT_EQ(shown.generations, generations);
}

const std::vector<int> kDefaultChecks = {IDC_SPEED_FIXED, IDC_LIFEGAME_ON, IDC_TOVTOV_ON, IDC_SHRINK_OFF,
                                         IDC_SIZE_MIDDLE, IDC_CONNECT_OFF, IDC_COLORS_ONE};

void ExpectEnabled(HWND dialog, std::initializer_list<int> ids, bool enabled) {
    for (int id : ids)
        EXPECT_EQ(Enabled(dialog, id), enabled) << "control " << id;
}

TEST_P(ConfigDialogOnFamily, ShowsTheDefaultsCentredOnTheScreenAndOkSavesThem) {
    const bool wide = !windows95Family();
    const INT_PTR result = RunDrivenConfigDialog(nullptr, [wide](HWND dialog) {
        // Windows made through the ANSI calls are ANSI windows.
        EXPECT_EQ(IsWindowUnicode(dialog) != FALSE, wide) << "the dialog";
        EXPECT_EQ(IsWindowUnicode(GetDlgItem(dialog, IDC_GENERATIONS)) != FALSE, wide) << "the subclassed box";
        ExpectShown(dialog, kDefaultChecks, 5, L"20");
        ExpectEnabled(dialog, {IDC_SPEED_BAR, IDC_SPEED_SLOW_LABEL, IDC_SPEED_FAST_LABEL}, true);
        ExpectEnabled(dialog, {IDC_CONNECT_GROUP, IDC_CONNECT_ON, IDC_CONNECT_OFF, IDC_CONNECT_RANDOM}, true);
        ExpectEnabled(dialog, {IDC_SHRINK_GROUP, IDC_SHRINK_ON, IDC_SHRINK_OFF, IDC_SHRINK_RANDOM}, true);

        // No owner: centred on the 1024 x 768 screen, to the pixel's rounding.
        const RECT rect = WindowRect(dialog);
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        EXPECT_LE(std::abs(rect.left + rect.right - screenWidth), 1) << rect.left << ".." << rect.right;
        EXPECT_LE(std::abs(rect.top + rect.bottom - screenHeight), 1) << rect.top << ".." << rect.bottom;

        EXPECT_FALSE(StoredSettingsExist()) << "nothing is written before OK";
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    ExpectStored("FixedSpeed", "Fixed");
    ExpectStored("Speed", 5u);
    ExpectStored("Tovtov", "On");
    ExpectStored("Size", "Middle");
    ExpectStored("Generations", 20u);
    ExpectStored("ConnectTBLR", "Off");
    ExpectStored("LifeGame", "On");
    ExpectStored("Shrink", "Off");
    ExpectStored("Colors", "1");
}

TEST_F(ConfigDialog, CentresOverItsOwner) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 40, 60, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    RunDrivenConfigDialog(owner, [owner](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
        const RECT rect = WindowRect(dialog);
        const int width = static_cast<int>(rect.right - rect.left);
        const int height = static_cast<int>(rect.bottom - rect.top);
        // The dialog is larger than the owner; the halved difference truncates.
        EXPECT_EQ(rect.left, std::max(0, 40 + (300 - width) / 2));
        EXPECT_EQ(rect.top, std::max(0, 60 + (200 - height) / 2));
        Click(dialog, IDCANCEL);
    });
    DestroyWindow(owner);
}

TEST_F(ConfigDialog, EveryRadioButtonChecksItselfAloneAndOkSavesTheLastChoices) {
    const INT_PTR result = RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        for (const auto& group : Groups()) {
            for (int id : group) {
                Click(dialog, id);
                for (int other : group)
                    EXPECT_EQ(Checked(dialog, other), other == id) << "after " << id;
            }
        }
        for (int id : {IDC_SPEED_RANDOM, IDC_LIFEGAME_RANDOM, IDC_TOVTOV_RANDOM, IDC_SHRINK_ON, IDC_SIZE_BIG,
                       IDC_CONNECT_ON, IDC_COLORS_SIX}) {
            Click(dialog, id);
        }
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    ExpectStored("FixedSpeed", "Random");
    ExpectStored("LifeGame", "Random");
    ExpectStored("Tovtov", "Random");
    ExpectStored("Shrink", "On");
    ExpectStored("Size", "Big");
    ExpectStored("ConnectTBLR", "On");
    ExpectStored("Colors", "6");

    // The next opening shows what was stored.
    RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        ExpectShown(dialog,
                    {IDC_SPEED_RANDOM, IDC_LIFEGAME_RANDOM, IDC_TOVTOV_RANDOM, IDC_SHRINK_ON, IDC_SIZE_BIG,
                     IDC_CONNECT_ON, IDC_COLORS_SIX},
                    5, L"20");
        Click(dialog, IDC_SIZE_SMALL);
        Click(dialog, IDC_COLORS_THREE);
        Click(dialog, IDC_COLORS_RANDOM);
        Click(dialog, IDC_SIZE_RANDOM);
        Click(dialog, IDOK);
    });
    ExpectStored("Size", "Random");
    ExpectStored("Colors", "Random");
}

TEST_F(ConfigDialog, RandomSpeedGreysTheBarAndLabelsAndOkStillSavesThePosition) {
    const INT_PTR result = RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        Scroll(dialog, SB_PAGERIGHT);
        Click(dialog, IDC_SPEED_RANDOM);
        ExpectEnabled(dialog, {IDC_SPEED_BAR, IDC_SPEED_SLOW_LABEL, IDC_SPEED_FAST_LABEL}, false);
        EXPECT_EQ(SpeedBarPosition(dialog), 7);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    ExpectStored("FixedSpeed", "Random");
    ExpectStored("Speed", 7u);

    RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        ExpectEnabled(dialog, {IDC_SPEED_BAR, IDC_SPEED_SLOW_LABEL, IDC_SPEED_FAST_LABEL}, false);
        Click(dialog, IDC_SPEED_FIXED);
        ExpectEnabled(dialog, {IDC_SPEED_BAR, IDC_SPEED_SLOW_LABEL, IDC_SPEED_FAST_LABEL}, true);
        Click(dialog, IDCANCEL);
    });
}

TEST_F(ConfigDialog, OffGreysTheDependentGroupWhichKeepsAndSavesItsValue) {
    StoreWord("Shrink", "Random");
    StoreWord("ConnectTBLR", "On");
    const INT_PTR result = RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        Click(dialog, IDC_TOVTOV_OFF);
        ExpectEnabled(dialog, {IDC_SHRINK_GROUP, IDC_SHRINK_ON, IDC_SHRINK_OFF, IDC_SHRINK_RANDOM}, false);
        EXPECT_TRUE(Checked(dialog, IDC_SHRINK_RANDOM));
        Click(dialog, IDC_LIFEGAME_OFF);
        ExpectEnabled(dialog, {IDC_CONNECT_GROUP, IDC_CONNECT_ON, IDC_CONNECT_OFF, IDC_CONNECT_RANDOM}, false);
        EXPECT_TRUE(Checked(dialog, IDC_CONNECT_ON));
        // Random, like On, keeps the dependent group usable.
        Click(dialog, IDC_LIFEGAME_RANDOM);
        ExpectEnabled(dialog, {IDC_CONNECT_GROUP, IDC_CONNECT_ON}, true);
        Click(dialog, IDC_LIFEGAME_OFF);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    ExpectStored("Tovtov", "Off");
    ExpectStored("Shrink", "Random");
    ExpectStored("LifeGame", "Off");
    ExpectStored("ConnectTBLR", "On");

    // Opened again with the switches off, the groups start greyed.
    RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        ExpectEnabled(dialog, {IDC_SHRINK_GROUP, IDC_SHRINK_RANDOM}, false);
        ExpectEnabled(dialog, {IDC_CONNECT_GROUP, IDC_CONNECT_ON}, false);
        Click(dialog, IDCANCEL);
    });
}

TEST_F(ConfigDialog, OnlyANotificationCodeOfZeroIsACommand) {
    RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIFEGAME_OFF, 1), 0);
        EXPECT_TRUE(Checked(dialog, IDC_LIFEGAME_ON));
        EXPECT_TRUE(Enabled(dialog, IDC_CONNECT_GROUP));
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
        EXPECT_TRUE(IsWindow(dialog));
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(StoredSettingsExist());
}

TEST_F(ConfigDialog, ScrollCodesMoveTheSpeedBarAndOkSavesIt) {
    const INT_PTR result = RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        Scroll(dialog, SB_THUMBTRACK, 18);
        EXPECT_EQ(SpeedBarPosition(dialog), 18);
        Scroll(dialog, SB_PAGERIGHT);
        EXPECT_EQ(SpeedBarPosition(dialog), 19);
        Scroll(dialog, SB_LINERIGHT);
        EXPECT_EQ(SpeedBarPosition(dialog), 19);
        Scroll(dialog, SB_THUMBTRACK, 1);
        Scroll(dialog, SB_PAGELEFT);
        EXPECT_EQ(SpeedBarPosition(dialog), 0);
        Scroll(dialog, SB_LINELEFT);
        EXPECT_EQ(SpeedBarPosition(dialog), 0);
        Scroll(dialog, SB_THUMBPOSITION, 10);
        EXPECT_EQ(SpeedBarPosition(dialog), 0);
        Scroll(dialog, SB_ENDSCROLL);
        EXPECT_EQ(SpeedBarPosition(dialog), 0);
        Scroll(dialog, SB_RIGHT);
        EXPECT_EQ(SpeedBarPosition(dialog), 19);
        Scroll(dialog, SB_LINELEFT);
        EXPECT_EQ(SpeedBarPosition(dialog), 18);
        Scroll(dialog, SB_LEFT);
        Scroll(dialog, SB_LINERIGHT);
        Scroll(dialog, SB_PAGERIGHT);
        EXPECT_EQ(SpeedBarPosition(dialog), 3);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    ExpectStored("Speed", 3u);
}

TEST_P(ConfigDialogOnFamily, TheGenerationsBoxTakesOnlyDigits) {
    const bool windows95 = windows95Family();
    const INT_PTR result = RunDrivenConfigDialog(nullptr, [windows95](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_GENERATIONS, EM_SETSEL, 2, 2);
        if (windows95) {
            // Code-page bytes: accented letters, and both halves of the
            // Shift-JIS fullwidth digit zero (0x82 0x4F).
            TypeBytes(dialog, IDC_GENERATIONS, "a- Z+\xE9\xFF\x82\x4F");
        } else {
            TypeChars(dialog, IDC_GENERATIONS, L"a- Z+\x00E9\x00FF\xFF11\x30A2");
        }
        EXPECT_EQ(ControlText(dialog, IDC_GENERATIONS), L"20");
        TypeChars(dialog, IDC_GENERATIONS, L"\b\b");
        EXPECT_EQ(ControlText(dialog, IDC_GENERATIONS), L"");
        TypeChars(dialog, IDC_GENERATIONS, L"007");
        EXPECT_EQ(ControlText(dialog, IDC_GENERATIONS), L"007");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    ExpectStored("Generations", 7u);
}

TEST_F(ConfigDialog, AnEmptyGenerationsBoxSavesZero) {
    StoreNumber("Generations", 55);
    RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_GENERATIONS), L"55");
        SelectAll(dialog, IDC_GENERATIONS);
        TypeChars(dialog, IDC_GENERATIONS, L"\b");
        EXPECT_EQ(ControlText(dialog, IDC_GENERATIONS), L"");
        Click(dialog, IDOK);
    });
    ExpectStored("Generations", 0u);
}

TEST_F(ConfigDialog, AStoredCountAbove2To31ShowsNegativeAndOkSavesZero) {
    StoreNumber("Generations", 4294967295u);
    RunDrivenConfigDialog(nullptr, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_GENERATIONS), L"-1");
        Click(dialog, IDOK);
    });
    ExpectStored("Generations", 0u);
}

// Changes everything it can, then leaves by `leave`.
void ChangeEverything(HWND dialog) {
    for (int id : {IDC_SPEED_RANDOM, IDC_LIFEGAME_OFF, IDC_TOVTOV_RANDOM, IDC_SHRINK_ON, IDC_SIZE_BIG,
                   IDC_CONNECT_RANDOM, IDC_COLORS_SIX}) {
        Click(dialog, id);
    }
    Scroll(dialog, SB_RIGHT);
    SelectAll(dialog, IDC_GENERATIONS);
    TypeChars(dialog, IDC_GENERATIONS, L"9");
}

TEST_P(ConfigDialogOnFamily, CancelEscAndTheCloseBoxWriteNothing) {
    const struct {
        const char* name;
        void (*leave)(HWND);
    } exits[] = {
        {"Cancel button", [](HWND dialog) { Click(dialog, IDCANCEL); }},
        {"Esc key", [](HWND dialog) { PressKey(GetDlgItem(dialog, IDOK), VK_ESCAPE); }},
        {"close box", [](HWND dialog) { CloseByCaptionBox(dialog); }},
    };
    for (const auto& exit : exits) {
        SCOPED_TRACE(exit.name);
        DeleteStoredSettings();
        INT_PTR result = RunDrivenConfigDialog(nullptr, [&](HWND dialog) {
            ChangeEverything(dialog);
            exit.leave(dialog);
            EXPECT_TRUE(WaitUntil([dialog] { return !IsWindow(dialog); }));
        });
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(StoredSettingsExist());

        // With stored settings, the stored values stay and show next time.
        StoreWord("Size", "Small");
        StoreNumber("Speed", 12);
        result = RunDrivenConfigDialog(nullptr, [&](HWND dialog) {
            ChangeEverything(dialog);
            exit.leave(dialog);
            EXPECT_TRUE(WaitUntil([dialog] { return !IsWindow(dialog); }));
        });
        EXPECT_EQ(result, 0);
        ExpectStored("Size", "Small");
        ExpectStored("Speed", 12u);
        EXPECT_FALSE(StoredWord("Colors").has_value());
        RunDrivenConfigDialog(nullptr, [](HWND dialog) {
            std::vector<int> expected = kDefaultChecks;
            expected[4] = IDC_SIZE_SMALL;
            ExpectShown(dialog, expected, 12, L"20");
            Click(dialog, IDCANCEL);
        });
    }
}

TEST_P(ConfigDialogOnFamily, TheAboutBoxCentresOverTheDialogAndClosesEveryWay) {
    const DWORD dialogThread = GetCurrentThreadId();
    const struct {
        const char* name;
        void (*close)(HWND);
    } closers[] = {
        {"OK", [](HWND about) { SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0); }},
        {"Enter", [](HWND about) { PressKey(GetDlgItem(about, IDOK), VK_RETURN); }},
        {"Esc", [](HWND about) { PressKey(GetDlgItem(about, IDOK), VK_ESCAPE); }},
        {"close box", [](HWND about) { CloseByCaptionBox(about); }},
    };
    const INT_PTR result = RunDrivenConfigDialog(nullptr, [&](HWND dialog) {
        Click(dialog, IDC_TOVTOV_OFF);
        const Shown before = ReadShown(dialog);
        for (const auto& closer : closers) {
            SCOPED_TRACE(closer.name);
            PostClick(dialog, IDC_ABOUT_BUTTON);
            HWND about = WaitForThreadDialog(dialogThread, kAboutCaption, dialog);
            ASSERT_NE(about, nullptr);
            const RECT outer = WindowRect(dialog);
            const RECT inner = WindowRect(about);
            EXPECT_LE(std::abs((inner.left + inner.right) - (outer.left + outer.right)), 1);
            EXPECT_LE(std::abs((inner.top + inner.bottom) - (outer.top + outer.bottom)), 1);
            EXPECT_FALSE(IsWindowEnabled(dialog)) << "the About box is modal";
            closer.close(about);
            EXPECT_TRUE(WaitUntil([about] { return !IsWindow(about); })) << "About box still open";
            EXPECT_TRUE(IsWindow(dialog));
            EXPECT_TRUE(WaitUntil([dialog] { return IsWindowEnabled(dialog) != FALSE; }));
            const Shown after = ReadShown(dialog);
            EXPECT_EQ(after.checkedIds, before.checkedIds);
            EXPECT_EQ(after.speed, before.speed);
            EXPECT_EQ(after.generations, before.generations);
        }
        EXPECT_FALSE(StoredSettingsExist());
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(StoredSettingsExist());
}

std::wstring LoadString(UINT id) {
    wchar_t buffer[256] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, buffer, 256);
    return buffer;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (std::wstring(className) == L"Static")
        *reinterpret_cast<std::wstring*>(lParam) += Text(child);
    return TRUE;
}

TEST_P(ConfigDialogOnFamily, AFailedHelpCallShowsTheMessageAndLeavesTheDialogAsItWas) {
    const DWORD dialogThread = GetCurrentThreadId();
    const INT_PTR result = RunDrivenConfigDialog(nullptr, [&](HWND dialog) {
        Click(dialog, IDC_SIZE_BIG);
        Scroll(dialog, SB_LINERIGHT);
        const Shown before = ReadShown(dialog);
        PostClick(dialog, IDC_HELP_BUTTON);
        HWND box = WaitForThreadDialog(dialogThread, kHelpFailureCaption, dialog);
        ASSERT_NE(box, nullptr) << "no help-failure message box";
        std::wstring shownText;
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&shownText));
        const std::wstring expected = LoadString(IDS_HELP_FAILED);
        EXPECT_FALSE(expected.empty());
        EXPECT_NE(shownText.find(expected), std::wstring::npos);
        EXPECT_NE(GetDlgItem(box, IDOK), nullptr) << "an OK button";
        EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "only OK";
        SendMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([box] { return !IsWindow(box); }));
        EXPECT_TRUE(IsWindow(dialog));
        const Shown after = ReadShown(dialog);
        EXPECT_EQ(after.checkedIds, before.checkedIds);
        EXPECT_EQ(after.speed, before.speed);
        EXPECT_EQ(after.generations, before.generations);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(StoredSettingsExist());
}

// Files beside the test program, where the Help button looks first, and an
// association for web pages whose "open" records the file it was given.
class HelpPage : public ConfigDialogOnFamily {
protected:
    void SetUp() override {
        ConfigDialogOnFamily::SetUp();
        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        folder_ = program;
        folder_.resize(folder_.find_last_of(L'\\'));
        page_ = folder_ + L"\\Quorbel.html";
        record_ = folder_ + L"\\help_page_opened.txt";
        DeleteFileW(record_.c_str());
        std::ofstream(page_.c_str()) << "<!DOCTYPE html><title>help</title>\n";
        wchar_t previous[128] = {};
        LONG size = sizeof previous;
        if (RegQueryValueW(HKEY_CLASSES_ROOT, L".html", previous, &size) == ERROR_SUCCESS)
            previousHtml_ = previous;
        const std::wstring command = L"cmd.exe /c echo %1> \"" + record_ + L"\"";
        SetDefault(L".html", L"QuorbelTest.page");
        SetDefault(L"QuorbelTest.page\\shell\\open\\command", command);
    }
    void TearDown() override {
        for (const wchar_t* key : {L"QuorbelTest.page\\shell\\open\\command", L"QuorbelTest.page\\shell\\open",
                                   L"QuorbelTest.page\\shell", L"QuorbelTest.page"})
            RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
        if (previousHtml_)
            SetDefault(L".html", *previousHtml_);
        else
            RegDeleteKeyW(HKEY_CLASSES_ROOT, L".html");
        for (const std::wstring& file : {page_, record_, folder_ + L"\\Quorbel.hlp"})
            DeleteFileW(file.c_str());
        ConfigDialogOnFamily::TearDown();
    }
    static void SetDefault(const std::wstring& key, const std::wstring& value) {
        ASSERT_EQ(RegSetValueW(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), 0), ERROR_SUCCESS);
    }
    // What the association was asked to open, waited for; empty when nothing.
    std::wstring Opened(int timeoutMs) const {
        std::string line;
        WaitUntil(
            [&] {
                std::ifstream in(record_.c_str());
                return static_cast<bool>(std::getline(in, line));
            },
            timeoutMs);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        return std::wstring(line.begin(), line.end());
    }
    std::wstring folder_, page_, record_;
    std::optional<std::wstring> previousHtml_;
};

INSTANTIATE_TEST_SUITE_P(Family, HelpPage, testing::Values(false, true), FamilyName);

TEST_P(HelpPage, WithoutTheOldHelpFileTheButtonOpensThePage) {
    const DWORD dialogThread = GetCurrentThreadId();
    RunDrivenConfigDialog(nullptr, [&](HWND dialog) {
        PostClick(dialog, IDC_HELP_BUTTON);
        const std::wstring opened = Opened(20000);
        EXPECT_EQ(lstrcmpiW(opened.c_str(), page_.c_str()), 0)
            << "opened '" << std::string(opened.begin(), opened.end()) << "'";
        if (HWND box = FindThreadDialog(dialogThread, kHelpFailureCaption, dialog)) {
            ADD_FAILURE() << "a help-failure message";
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        }
        Click(dialog, IDCANCEL);
    });
}

// No program for web pages: the message names the page's path instead of
// asking for a reinstall.
TEST_P(HelpPage, WithNoProgramForWebPagesTheMessageSaysWhereThePageIs) {
    SetDefault(L".html", L"QuorbelTest.none");
    const DWORD dialogThread = GetCurrentThreadId();
    RunDrivenConfigDialog(nullptr, [&](HWND dialog) {
        PostClick(dialog, IDC_HELP_BUTTON);
        HWND box = WaitForThreadDialog(dialogThread, kHelpFailureCaption, dialog);
        ASSERT_NE(box, nullptr) << "no message box";
        std::wstring shownText;
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&shownText));
        EXPECT_NE(shownText.find(page_), std::wstring::npos) << std::string(shownText.begin(), shownText.end());
        EXPECT_EQ(shownText.find(LoadString(IDS_HELP_FAILED)), std::wstring::npos)
            << std::string(shownText.begin(), shownText.end());
        SendMessageW(box, WM_COMMAND, IDOK, 0);
        Click(dialog, IDCANCEL);
    });
}

// With a help file and the viewer both there (Wine has winhlp32.exe; the
// tests switch it off, so the call fails), the 95 family makes the old
// call. The NT family's choice turns on the Windows version, which Wine
// sets per program: the host tests try it (HelpButton).
TEST_P(HelpPage, WithTheOldHelpFileTheButtonMakesTheOldCall) {
    if (!windows95Family())
        GTEST_SKIP() << "the NT family by its version: HelpButton in host_saver_tests";
    std::ofstream((folder_ + L"\\Quorbel.hlp").c_str()) << "?_\x03";
    const DWORD dialogThread = GetCurrentThreadId();
    RunDrivenConfigDialog(nullptr, [&](HWND dialog) {
        PostClick(dialog, IDC_HELP_BUTTON);
        HWND box = WaitForThreadDialog(dialogThread, kHelpFailureCaption, dialog);
        ASSERT_NE(box, nullptr) << "no help-failure message box";
        SendMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(Opened(1000).empty()) << "the page was opened as well";
        Click(dialog, IDCANCEL);
    });
}

}  // namespace
