// The help page's lookup and opening, through the ANSI calls on the
// Windows 95 family and the wide ones on the NT family.
#include "host/config/help_page_windows.h"

#include <shellapi.h>

#include <vector>

#include "host/config/dialog_text_windows.h"
#include "host/config/windows_family_windows.h"

namespace {

const wchar_t kPageName[] = L"Quorbel.html";
const wchar_t kInstallKey[] = L"Software\\Pelmar\\Quorbel";
const wchar_t kPageValue[] = L"HelpPage";
constexpr DWORD kPathCapacity = MAX_PATH * 2;

bool FileExists(const std::wstring& path) {
    const DWORD attributes =
        Windows95Family() ? GetFileAttributesA(Narrow(path.c_str()).c_str()) : GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring WindowsFolder() {
    if (Windows95Family()) {
        char path[kPathCapacity] = {};
        return GetWindowsDirectoryA(path, kPathCapacity) ? Widen(path) : std::wstring();
    }
    wchar_t path[kPathCapacity] = {};
    return GetWindowsDirectoryW(path, kPathCapacity) ? path : std::wstring();
}

std::wstring ProgramFolder() {
    std::wstring path;
    if (Windows95Family()) {
        char bytes[kPathCapacity] = {};
        if (GetModuleFileNameA(nullptr, bytes, kPathCapacity))
            path = Widen(bytes);
    } else {
        wchar_t units[kPathCapacity] = {};
        if (GetModuleFileNameW(nullptr, units, kPathCapacity))
            path = units;
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The folders the program's own file search covers: its folder, the
// current one, the system folders, the PATH.
bool OnSearchPath(const std::wstring& name) {
    if (Windows95Family()) {
        char found[kPathCapacity] = {};
        char* filePart = nullptr;
        return SearchPathA(nullptr, Narrow(name.c_str()).c_str(), nullptr, kPathCapacity, found, &filePart) != 0;
    }
    wchar_t found[kPathCapacity] = {};
    wchar_t* filePart = nullptr;
    return SearchPathW(nullptr, name.c_str(), nullptr, kPathCapacity, found, &filePart) != 0;
}

std::wstring RecordedPage() {
    HKEY key = nullptr;
    std::wstring page;
    if (Windows95Family()) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Narrow(kInstallKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return page;
        std::vector<char> bytes(kPathCapacity + 1, '\0');
        DWORD type = 0, size = kPathCapacity;
        if (RegQueryValueExA(key, Narrow(kPageValue).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                             &size) == ERROR_SUCCESS &&
            type == REG_SZ)
            page = Widen(bytes.data());
    } else {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return page;
        std::vector<wchar_t> units(kPathCapacity + 1, L'\0');
        DWORD type = 0, size = kPathCapacity * sizeof(wchar_t);
        if (RegQueryValueExW(key, kPageValue, nullptr, &type, reinterpret_cast<BYTE*>(units.data()), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ)
            page = units.data();
    }
    RegCloseKey(key);
    return page;
}

// The old viewer works on the 95 family and on the NT family before Vista;
// from Vista on winhlp32.exe is a stub that only says the viewer is gone.
bool OldViewerWorks() {
    if (Windows95Family())
        return true;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExA(&version) && version.dwMajorVersion < 6;
}

}  // namespace

bool OldHelpAvailable(const char* helpFile) {
    const std::wstring windows = WindowsFolder();
    if (!OldViewerWorks() || windows.empty() || !FileExists(windows + L"\\winhlp32.exe"))
        return false;
    const std::string name(helpFile);
    const std::wstring file(name.begin(), name.end());
    return OnSearchPath(file) || FileExists(windows + L"\\Help\\" + file);
}

std::wstring FindHelpPage() {
    const std::wstring folder = ProgramFolder();
    if (!folder.empty()) {
        const std::wstring beside = folder + L"\\" + kPageName;
        if (FileExists(beside))
            return beside;
    }
    const std::wstring recorded = RecordedPage();
    return !recorded.empty() && FileExists(recorded) ? recorded : std::wstring();
}

bool OpenHelpPage(HWND owner, const std::wstring& page) {
    // Looked up by name, so that the program imports nothing more for a
    // button; the module stays loaded, as the browser's start may still
    // run in it.
    HMODULE shell = LoadLibraryA("SHELL32.DLL");
    if (!shell)
        return false;
    INT_PTR result = 0;
    if (Windows95Family()) {
        using Open = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
        if (const auto open = reinterpret_cast<Open>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA"))))
            result = reinterpret_cast<INT_PTR>(
                open(owner, "open", Narrow(page.c_str()).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    } else {
        using Open = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
        if (const auto open = reinterpret_cast<Open>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteW"))))
            result = reinterpret_cast<INT_PTR>(open(owner, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    }
    return result > 32;  // ShellExecute's success
}
