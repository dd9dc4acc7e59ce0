// The configuration dialog: radio clicks edit a working copy, the speed
// lives in the scroll bar and the generation count in the edit box until
// OK moves all three into the settings and saves them.
#include "host/config/config_dialog_windows.h"

#include <string>

#include "host/config/dialog_text_windows.h"
#include "host/config/help_page_windows.h"
#include "resources/resource_ids.h"
#include "settings/config_dialog_logic.h"
#include "settings/settings_store.h"

namespace {

HWND configDialog;
HWND speedBar;
WNDPROC previousEditProc;
Settings workingCopy;

const char kHelpFile[] = "Quorbel.hlp";
constexpr DWORD kHelpContext = 101;
const char kAboutTemplate[] = "ABOUTDLGBOX";

void ShowGroupInDialog(ChoiceGroup group, int32_t value) {
    const GroupView view = ShowGroup(group, value);
    for (int i = 0; i < view.buttonCount; ++i) {
        SendItemMessage(configDialog, view.buttons[i].id, BM_SETCHECK,
                        view.buttons[i].checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    for (int i = 0; i < view.dependentCount; ++i) {
        EnableWindow(GetDlgItem(configDialog, view.dependents[i]), view.dependentsEnabled);
    }
}

void ShowChoice(ChoiceGroup group, int32_t value) {
    switch (group) {
        case ChoiceGroup::SpeedMode:
            ShowSpeedMode(value);
            break;
        case ChoiceGroup::LifeGame:
            ShowLifeGame(value);
            break;
        case ChoiceGroup::Tovtov:
            ShowTovtov(value);
            break;
        case ChoiceGroup::Shrink:
            ShowShrink(value);
            break;
        case ChoiceGroup::Size:
            ShowSize(value);
            break;
        case ChoiceGroup::ConnectTBLR:
            ShowConnectTBLR(value);
            break;
        case ChoiceGroup::Colors:
            ShowColors(value);
            break;
    }
}

int32_t Field(ChoiceGroup group) { return GroupValue(workingCopy, group); }

BOOL StartDialog(HWND dialog) {
    CenterOverWindow(dialog, GetParent(dialog));
    HWND edit = GetDlgItem(dialog, IDC_GENERATIONS);
    previousEditProc = ReplaceWindowProc(edit, DigitEditProc);
    LoadAppStrings();
    LoadSettings();
    workingCopy = userSettings;

    ShowSpeedMode(Field(ChoiceGroup::SpeedMode));
    speedBar = GetDlgItem(dialog, IDC_SPEED_BAR);
    SetScrollRange(speedBar, SB_CTL, kSpeedBarMin, kSpeedBarMax, FALSE);
    SetScrollPos(speedBar, SB_CTL, static_cast<int>(workingCopy.Speed), TRUE);

    ShowLifeGame(Field(ChoiceGroup::LifeGame));
    ShowTovtov(Field(ChoiceGroup::Tovtov));
    ShowShrink(Field(ChoiceGroup::Shrink));
    ShowSize(Field(ChoiceGroup::Size));

    SetItemText(dialog, IDC_GENERATIONS, FormatGenerations(workingCopy.Generations));

    ShowConnectTBLR(Field(ChoiceGroup::ConnectTBLR));
    ShowColors(Field(ChoiceGroup::Colors));
    return TRUE;  // the dialog manager focuses the first tab stop, OK
}

// The box's text, converted by the same rule on Windows and under Wine
// (Wine's GetDlgItemInt reads "-1" as 4294967295 where Windows gives 0).
uint32_t ReadGenerations(HWND dialog) { return ParseGenerations(ItemText(dialog, IDC_GENERATIONS)); }

void AcceptSettings(HWND dialog) {
    userSettings = workingCopy;
    userSettings.Speed = static_cast<uint32_t>(GetScrollPos(speedBar, SB_CTL));
    userSettings.Generations = ReadGenerations(dialog);
    SaveSettings();
    EndDialog(dialog, 1);
}

// The old call only where it can work; else the help page, when there is
// one; else the old call, whose failure then says what is missing. A page
// that nothing opens (no program for web pages) is named with its path, to
// be opened by hand.
void ShowHelp(HWND dialog) {
    const std::wstring page = OldHelpAvailable(kHelpFile) ? std::wstring() : FindHelpPage();
    if (page.empty()) {
        if (!StartHelp(dialog, kHelpFile, HELP_CONTEXT, kHelpContext))
            ShowMessageBox(dialog, HelpFailureText(), HelpFailureCaption(), MB_OK);
    } else if (!OpenHelpPage(dialog, page)) {
        wchar_t text[256] = {};
        LoadResourceString(IDS_HELP_PAGE_UNOPENED, text, 256);
        ShowMessageBox(dialog, (std::wstring(text) + L"\n\n" + page).c_str(), HelpFailureCaption(), MB_OK);
    }
}

void ShowAbout(HWND dialog) { RunDialogBox(DialogInstance(dialog), kAboutTemplate, dialog, AboutDialogProc); }

// The whole wParam is the command: only notification code 0 matches.
BOOL HandleCommand(HWND dialog, WPARAM wParam) {
    if (const auto radio = FindRadioCommand(wParam)) {
        SetGroupValue(workingCopy, radio->group, radio->value);
        ShowChoice(radio->group, radio->value);
        return TRUE;
    }
    switch (wParam) {
        case IDOK:
            AcceptSettings(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_HELP_BUTTON:
            ShowHelp(dialog);
            return TRUE;
        case IDC_ABOUT_BUTTON:
            ShowAbout(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL HandleSpeedScroll(WPARAM wParam) {
    const int current = GetScrollPos(speedBar, SB_CTL);
    const auto position = NewSpeedPosition(LOWORD(wParam), HIWORD(wParam), current);
    if (!position)
        return FALSE;
    SetScrollPos(speedBar, SB_CTL, *position, TRUE);
    return TRUE;
}

}  // namespace

void ShowSpeedMode(int32_t value) { ShowGroupInDialog(ChoiceGroup::SpeedMode, value); }
void ShowLifeGame(int32_t value) { ShowGroupInDialog(ChoiceGroup::LifeGame, value); }
void ShowTovtov(int32_t value) { ShowGroupInDialog(ChoiceGroup::Tovtov, value); }
void ShowShrink(int32_t value) { ShowGroupInDialog(ChoiceGroup::Shrink, value); }
void ShowSize(int32_t value) { ShowGroupInDialog(ChoiceGroup::Size, value); }
void ShowConnectTBLR(int32_t value) { ShowGroupInDialog(ChoiceGroup::ConnectTBLR, value); }
void ShowColors(int32_t value) { ShowGroupInDialog(ChoiceGroup::Colors, value); }

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    configDialog = dialog;
    switch (message) {
        case WM_INITDIALOG:
            return StartDialog(dialog);
        case WM_COMMAND:
            return HandleCommand(dialog, wParam);
        case WM_HSCROLL:
            return HandleSpeedScroll(wParam);
        default:
            return FALSE;
    }
}

LRESULT CALLBACK DigitEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && !PassesDigitFilter(static_cast<uint32_t>(wParam)))
        return 0;
    return CallPreviousProc(previousEditProc, window, message, wParam, lParam);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CenterOverWindow(dialog, configDialog);
            return TRUE;
        case WM_COMMAND:
            if (wParam == IDOK || wParam == IDCANCEL)
                EndDialog(dialog, 1);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR RunConfigDialog(HINSTANCE instance, HWND owner) {
    return RunDialogBox(instance, MAKEINTRESOURCEA(IDD_CONFIG), owner, ConfigDialogProc);
}
