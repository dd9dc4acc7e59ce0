// The application strings, kept as UTF-16 so that the Japanese texts
// survive on NT systems whose code page is not Japanese.
#include "host/config/config_dialog_windows.h"
#include "host/config/dialog_text_windows.h"
#include "resources/resource_ids.h"

namespace {

wchar_t appClass[40];
wchar_t appTitle[40];
wchar_t screenSaverName[22];
wchar_t controlHelp[13];
wchar_t helpFailedText[255];

template <size_t N>
void Load(UINT id, wchar_t (&buffer)[N]) {
    LoadResourceString(id, buffer, static_cast<int>(N));
}

}  // namespace

void LoadAppStrings() {
    Load(IDS_APP_CLASS, appClass);
    Load(IDS_APP_TITLE, appTitle);
    Load(IDS_SCREEN_SAVER, screenSaverName);
    Load(IDS_CONTROL_HELP, controlHelp);
    Load(IDS_HELP_FAILED, helpFailedText);
}

const wchar_t* HelpFailureText() { return helpFailedText; }
const wchar_t* HelpFailureCaption() { return appTitle; }
