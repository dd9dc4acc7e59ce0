#include "host/string_message_windows.h"

#include "host/config/windows_family_windows.h"

int ShowStringMessage(HWND owner, UINT textId, UINT captionId, UINT style) {
    if (Windows95Family()) {
        char text[256] = {};
        char caption[64] = {};
        LoadStringA(GetModuleHandleA(nullptr), textId, text, sizeof text);
        LoadStringA(GetModuleHandleA(nullptr), captionId, caption, sizeof caption);
        return MessageBoxA(owner, text, caption, style);
    }
    wchar_t text[256] = {};
    wchar_t caption[64] = {};
    LoadStringW(GetModuleHandleW(nullptr), textId, text, 256);
    LoadStringW(GetModuleHandleW(nullptr), captionId, caption, 64);
    return MessageBoxW(owner, text, caption, style);
}
