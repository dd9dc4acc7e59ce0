// Prepares a Wine prefix for driving and photographing the dialogs:
// - the two dialog fonts map to the IPA Gothic fonts, as an English or
//   Japanese Windows has MS Gothic installed (otherwise Wine falls back to a
//   font without Japanese glyphs under an English locale, and a wider one
//   that changes how many digits fit the Generations box);
// - the test programs' windows are not handed to a window manager (there
//   is none on the test display): Wine then draws their captions itself and
//   does not wait for a manager's answer when a window is hidden. This is
//   set per program, so other programs in the prefix are unaffected.
// Run it once before the dialog tests; each Wine process reads these at start.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool SetString(const wchar_t* keyPath, const wchar_t* name, const wchar_t* value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
    const bool ok = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

}  // namespace

int main() {
    const wchar_t kReplacements[] = L"Software\\Wine\\Fonts\\Replacements";
    bool ok = SetString(kReplacements, L"ＭＳ ゴシック", L"IPAGothic") &&
              SetString(kReplacements, L"ＭＳ Ｐゴシック", L"IPAPGothic");
    for (const wchar_t* program : {L"config_dialog_wine_tests.exe", L"config_dialog_text_tests.exe"}) {
        std::wstring key = L"Software\\Wine\\AppDefaults\\";
        key += program;
        key += L"\\X11 Driver";
        ok = SetString(key.c_str(), L"Managed", L"N") && ok;
    }
    std::puts(ok ? "Wine prefix prepared for the dialog tests" : "could not write the Wine settings");
    return ok ? 0 : 1;
}
