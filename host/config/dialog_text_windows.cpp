// Every ANSI / wide choice of the dialogs. The ANSI side converts between
// UTF-16 and the system's code page, so the callers see one kind of text.
#include "host/config/dialog_text_windows.h"

#include <vector>

#include "host/config/windows_family_windows.h"

std::wstring Widen(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));  // drop the terminator
    return wide;
}

std::string Narrow(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length - 1));
    return narrow;
}

INT_PTR RunDialogBox(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC procedure) {
    if (Windows95Family())
        return DialogBoxParamA(instance, templateName, owner, procedure, 0);
    if (IS_INTRESOURCE(templateName)) {
        return DialogBoxParamW(instance, MAKEINTRESOURCEW(LOWORD(reinterpret_cast<ULONG_PTR>(templateName))), owner,
                               procedure, 0);
    }
    const std::string name(templateName);
    return DialogBoxParamW(instance, std::wstring(name.begin(), name.end()).c_str(), owner, procedure, 0);
}

HINSTANCE DialogInstance(HWND dialog) {
    const LONG_PTR instance =
        Windows95Family() ? GetWindowLongPtrA(dialog, GWLP_HINSTANCE) : GetWindowLongPtrW(dialog, GWLP_HINSTANCE);
    return reinterpret_cast<HINSTANCE>(instance);
}

LRESULT SendItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return Windows95Family() ? SendDlgItemMessageA(dialog, id, message, wParam, lParam)
                             : SendDlgItemMessageW(dialog, id, message, wParam, lParam);
}

void SetItemText(HWND dialog, int id, const std::string& ascii) {
    if (Windows95Family()) {
        SetDlgItemTextA(dialog, id, ascii.c_str());
    } else {
        SetDlgItemTextW(dialog, id, std::wstring(ascii.begin(), ascii.end()).c_str());
    }
}

std::u16string ItemText(HWND dialog, int id) {
    std::wstring text;
    if (Windows95Family()) {
        char bytes[64] = {};
        GetDlgItemTextA(dialog, id, bytes, static_cast<int>(sizeof bytes));
        text = Widen(bytes);
    } else {
        wchar_t units[32] = {};
        GetDlgItemTextW(dialog, id, units, static_cast<int>(sizeof units / sizeof units[0]));
        text = units;
    }
    return std::u16string(text.begin(), text.end());
}

WNDPROC ReplaceWindowProc(HWND window, WNDPROC procedure) {
    const auto replacement = reinterpret_cast<LONG_PTR>(procedure);
    const LONG_PTR previous = Windows95Family() ? SetWindowLongPtrA(window, GWLP_WNDPROC, replacement)
                                                : SetWindowLongPtrW(window, GWLP_WNDPROC, replacement);
    return reinterpret_cast<WNDPROC>(previous);
}

LRESULT CallPreviousProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Windows95Family() ? CallWindowProcA(previous, window, message, wParam, lParam)
                             : CallWindowProcW(previous, window, message, wParam, lParam);
}

BOOL StartHelp(HWND owner, const char* file, UINT command, ULONG_PTR data) {
    if (Windows95Family())
        return WinHelpA(owner, file, command, data);
    const std::string name(file);
    return WinHelpW(owner, std::wstring(name.begin(), name.end()).c_str(), command, data);
}

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
    if (Windows95Family())
        return MessageBoxA(owner, Narrow(text).c_str(), Narrow(caption).c_str(), style);
    return MessageBoxW(owner, text, caption, style);
}

void LoadResourceString(UINT id, wchar_t* buffer, int capacity) {
    if (!Windows95Family()) {
        LoadStringW(GetModuleHandleW(nullptr), id, buffer, capacity);
        return;
    }
    // The same capacity in bytes: a code-page character never turns into
    // more UTF-16 units than it has bytes.
    std::vector<char> bytes(static_cast<size_t>(capacity), '\0');
    buffer[0] = L'\0';
    if (LoadStringA(GetModuleHandleA(nullptr), id, bytes.data(), capacity) == 0)
        return;
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), -1, buffer, capacity);
}
