#include "dialog_driver.h"

#include <gtest/gtest.h>

#include <thread>

#include "expected_language.h"
#include "host/config/config_dialog_windows.h"
#include "resources/resource_ids.h"

const wchar_t* const kConfigCaption =
    ExpectJapaneseTexts() ? L"Tovtovライフゲームの設定" : L"Tovtov Life Game Settings";
const wchar_t* const kAboutCaption = ExpectJapaneseTexts() ? L"バージョン情報" : L"About Tovtov Life Game";
const wchar_t* const kHelpFailureCaption = ExpectJapaneseTexts() ? L"Tovtovライフｹﾞｰﾑ" : L"Tovtov Life Game";

std::string FamilyName(const testing::TestParamInfo<bool>& family) { return family.param ? "Windows95" : "NT"; }

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (static_cast<int>(GetTickCount() - start) > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

namespace {

struct DialogSearch {
    const wchar_t* caption;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    if (Text(window) != search->caption)
        return TRUE;
    if (search->owner && GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindThreadDialog(DWORD threadId, const wchar_t* caption, HWND owner) {
    DialogSearch search{caption, owner, nullptr};
    EnumThreadWindows(threadId, MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForThreadDialog(DWORD threadId, const wchar_t* caption, HWND owner) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindThreadDialog(threadId, caption, owner)) != nullptr; });
    return found;
}

INT_PTR RunDrivenConfigDialog(HWND owner, const std::function<void(HWND dialog)>& drive) {
    const DWORD dialogThread = GetCurrentThreadId();
    std::thread driver([&] {
        HWND dialog = WaitForThreadDialog(dialogThread, kConfigCaption);
        if (!dialog) {
            ADD_FAILURE_AT(__FILE__, __LINE__) << "the configuration dialog did not appear";
            return;
        }
        drive(dialog);
        if (IsWindow(dialog))
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR result = RunConfigDialog(GetModuleHandleW(nullptr), owner);
    driver.join();
    return result;
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
void PostClick(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void Scroll(HWND dialog, int code, int thumb) {
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SPEED_BAR)));
}

void TypeChars(HWND dialog, int id, const std::wstring& chars) {
    HWND control = GetDlgItem(dialog, id);
    for (wchar_t c : chars)
        SendMessageW(control, WM_CHAR, c, 1);
}

void TypeBytes(HWND dialog, int id, const std::string& bytes) {
    HWND control = GetDlgItem(dialog, id);
    for (char c : bytes)
        SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void SelectAll(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, -1); }

void PressKey(HWND target, UINT virtualKey) {
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

void CloseByCaptionBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
int SpeedBarPosition(HWND dialog) { return GetScrollPos(GetDlgItem(dialog, IDC_SPEED_BAR), SB_CTL); }

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

std::wstring ControlText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}
