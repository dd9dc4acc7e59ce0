// The application strings, loaded wide so that the Japanese texts survive
// on systems whose code page is not Japanese.
#include "resources/resource_ids.h"
#include "settings/config_dialog_windows.h"

namespace {

wchar_t appClass[40];
wchar_t appTitle[40];
wchar_t screenSaverName[22];
wchar_t controlHelp[13];
wchar_t helpFailedText[255];

template <size_t N>
void Load(HINSTANCE instance, UINT id, wchar_t (&buffer)[N]) {
    LoadStringW(instance, id, buffer, static_cast<int>(N));
}

}  // namespace

void LoadAppStrings() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    Load(instance, IDS_APP_CLASS, appClass);
    Load(instance, IDS_APP_TITLE, appTitle);
    Load(instance, IDS_SCREEN_SAVER, screenSaverName);
    Load(instance, IDS_CONTROL_HELP, controlHelp);
    Load(instance, IDS_HELP_FAILED, helpFailedText);
}

const wchar_t* HelpFailureText() { return helpFailedText; }
const wchar_t* HelpFailureCaption() { return appTitle; }
