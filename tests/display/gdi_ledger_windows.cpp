#include "gdi_ledger_windows.h"

#include <cstring>

namespace {

GdiLedger ledger{};

using CreateCompatibleDCFn = HDC(WINAPI*)(HDC);
using CreateCompatibleBitmapFn = HBITMAP(WINAPI*)(HDC, int, int);
using CreateDIBSectionFn = HBITMAP(WINAPI*)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
using CreatePaletteFn = HPALETTE(WINAPI*)(const LOGPALETTE*);
using CreateSolidBrushFn = HBRUSH(WINAPI*)(COLORREF);
using DeleteDCFn = BOOL(WINAPI*)(HDC);
using DeleteObjectFn = BOOL(WINAPI*)(HGDIOBJ);
using GetDCFn = HDC(WINAPI*)(HWND);
using ReleaseDCFn = int(WINAPI*)(HWND, HDC);

CreateCompatibleDCFn realCreateCompatibleDC;
CreateCompatibleBitmapFn realCreateCompatibleBitmap;
CreateDIBSectionFn realCreateDIBSection;
CreatePaletteFn realCreatePalette;
CreateSolidBrushFn realCreateSolidBrush;
DeleteDCFn realDeleteDC;
DeleteObjectFn realDeleteObject;
GetDCFn realGetDC;
ReleaseDCFn realReleaseDC;

template <typename T>
T Counted(T handle) {
    if (handle) {
        InterlockedIncrement(&ledger.created);
    }
    return handle;
}

HDC WINAPI CountedCreateCompatibleDC(HDC dc) { return Counted(realCreateCompatibleDC(dc)); }
HBITMAP WINAPI CountedCreateCompatibleBitmap(HDC dc, int w, int h) {
    return Counted(realCreateCompatibleBitmap(dc, w, h));
}
HBITMAP WINAPI CountedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset) {
    return Counted(realCreateDIBSection(dc, info, usage, bits, section, offset));
}
HPALETTE WINAPI CountedCreatePalette(const LOGPALETTE* p) { return Counted(realCreatePalette(p)); }
HBRUSH WINAPI CountedCreateSolidBrush(COLORREF c) { return Counted(realCreateSolidBrush(c)); }

BOOL WINAPI CountedDeleteDC(HDC dc) {
    const BOOL ok = realDeleteDC(dc);
    if (ok) {
        InterlockedIncrement(&ledger.deleted);
    }
    return ok;
}
BOOL WINAPI CountedDeleteObject(HGDIOBJ object) {
    const BOOL ok = realDeleteObject(object);
    if (ok) {
        InterlockedIncrement(&ledger.deleted);
    }
    return ok;
}
HDC WINAPI CountedGetDC(HWND window) {
    HDC dc = realGetDC(window);
    if (dc) {
        InterlockedIncrement(&ledger.dcsTaken);
    }
    return dc;
}
int WINAPI CountedReleaseDC(HWND window, HDC dc) {
    const int released = realReleaseDC(window, dc);
    if (released) {
        InterlockedIncrement(&ledger.dcsReleased);
    }
    return released;
}

// Replaces this program's import of dll!function; gives the original.
template <typename Fn>
bool Reroute(const char* dll, const char* function, Fn replacement, Fn& original) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return false;
    }
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || d->OriginalFirstThunk == 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) {
                continue;
            }
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            original = reinterpret_cast<Fn>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<decltype(slots->u1.Function)>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

}  // namespace

bool StartGdiLedger() {
    static bool started = false;
    static bool ok = false;
    if (!started) {
        started = true;
        // The program imports only what it calls: the creators other than
        // CreateCompatibleDC may be absent.
        Reroute("gdi32.dll", "CreateCompatibleBitmap", CountedCreateCompatibleBitmap, realCreateCompatibleBitmap);
        Reroute("gdi32.dll", "CreateDIBSection", CountedCreateDIBSection, realCreateDIBSection);
        Reroute("gdi32.dll", "CreatePalette", CountedCreatePalette, realCreatePalette);
        Reroute("gdi32.dll", "CreateSolidBrush", CountedCreateSolidBrush, realCreateSolidBrush);
        ok = Reroute("gdi32.dll", "CreateCompatibleDC", CountedCreateCompatibleDC, realCreateCompatibleDC) &&
             Reroute("gdi32.dll", "DeleteDC", CountedDeleteDC, realDeleteDC) &&
             Reroute("gdi32.dll", "DeleteObject", CountedDeleteObject, realDeleteObject) &&
             Reroute("user32.dll", "GetDC", CountedGetDC, realGetDC) &&
             Reroute("user32.dll", "ReleaseDC", CountedReleaseDC, realReleaseDC);
    }
    return ok;
}

GdiLedger ReadGdiLedger() {
    GdiLedger copy;
    copy.created = InterlockedCompareExchange(&ledger.created, 0, 0);
    copy.deleted = InterlockedCompareExchange(&ledger.deleted, 0, 0);
    copy.dcsTaken = InterlockedCompareExchange(&ledger.dcsTaken, 0, 0);
    copy.dcsReleased = InterlockedCompareExchange(&ledger.dcsReleased, 0, 0);
    return copy;
}
