// Loaded into a running saver by soak_probe. Wine's GetGuiResources reports
// no GDI objects at all, so the ledger counts what the program itself makes
// and releases: it routes the program's imports of the creating and
// releasing calls through counters kept in shared memory. Objects that
// system code makes on the program's behalf are not seen; objects made
// before the ledger arrived and released after it only lower the count.
#include "soak_ledger_windows.h"

#include <cstring>

namespace {

SoakLedger* ledger = nullptr;

#define COUNTED(name) decltype(&::name) real##name = nullptr

COUNTED(CreateCompatibleDC);
COUNTED(CreateCompatibleBitmap);
COUNTED(CreateDIBitmap);
COUNTED(CreateDIBSection);
COUNTED(CreatePalette);
COUNTED(CreateSolidBrush);
COUNTED(DeleteDC);
COUNTED(DeleteObject);
COUNTED(GetDC);
COUNTED(ReleaseDC);
COUNTED(FillRect);
COUNTED(BitBlt);

template <typename Handle>
Handle Made(Handle handle) {
    if (handle)
        InterlockedIncrement(&ledger->created);
    return handle;
}

BOOL Released(BOOL ok) {
    if (ok)
        InterlockedIncrement(&ledger->deleted);
    return ok;
}

HDC WINAPI CountedCreateCompatibleDC(HDC dc) { return Made(realCreateCompatibleDC(dc)); }
HBITMAP WINAPI CountedCreateCompatibleBitmap(HDC dc, int width, int height) {
    return Made(realCreateCompatibleBitmap(dc, width, height));
}
HBITMAP WINAPI CountedCreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                     const BITMAPINFO* info, UINT usage) {
    return Made(realCreateDIBitmap(dc, header, init, bits, info, usage));
}
HBITMAP WINAPI CountedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset) {
    return Made(realCreateDIBSection(dc, info, usage, bits, section, offset));
}
HPALETTE WINAPI CountedCreatePalette(const LOGPALETTE* palette) { return Made(realCreatePalette(palette)); }
HBRUSH WINAPI CountedCreateSolidBrush(COLORREF colour) { return Made(realCreateSolidBrush(colour)); }
BOOL WINAPI CountedDeleteDC(HDC dc) { return Released(realDeleteDC(dc)); }
BOOL WINAPI CountedDeleteObject(HGDIOBJ object) { return Released(realDeleteObject(object)); }

HDC WINAPI CountedGetDC(HWND window) {
    HDC dc = realGetDC(window);
    if (dc)
        InterlockedIncrement(&ledger->dcsTaken);
    return dc;
}
int WINAPI CountedReleaseDC(HWND window, HDC dc) {
    int released = realReleaseDC(window, dc);
    if (released)
        InterlockedIncrement(&ledger->dcsReleased);
    return released;
}
// A new world clears the whole screen: black from WM_ERASEBKGND, or its
// picture copied from the saver's back buffer in one piece.
void CountIfWholeScreen(int width, int height) {
    if (width >= GetSystemMetrics(SM_CXSCREEN) && height >= GetSystemMetrics(SM_CYSCREEN)) {
        InterlockedIncrement(&ledger->clears);
    }
}
int WINAPI CountedFillRect(HDC dc, const RECT* area, HBRUSH brush) {
    if (area) {
        CountIfWholeScreen(area->right - area->left, area->bottom - area->top);
    }
    return realFillRect(dc, area, brush);
}
BOOL WINAPI CountedBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                          DWORD rop) {
    CountIfWholeScreen(width, height);
    return realBitBlt(dc, x, y, width, height, source, sourceX, sourceY, rop);
}

struct Route {
    const char* dll;
    const char* name;
    void** real;
    void* counted;
};

#define ROUTE(dll, name) \
    { dll, #name, reinterpret_cast<void**>(&real##name), reinterpret_cast<void*>(&Counted##name) }

const Route kRoutes[] = {
    ROUTE("gdi32.dll", CreateCompatibleDC),
    ROUTE("gdi32.dll", CreateCompatibleBitmap),
    ROUTE("gdi32.dll", CreateDIBitmap),
    ROUTE("gdi32.dll", CreateDIBSection),
    ROUTE("gdi32.dll", CreatePalette),
    ROUTE("gdi32.dll", CreateSolidBrush),
    ROUTE("gdi32.dll", DeleteDC),
    ROUTE("gdi32.dll", DeleteObject),
    ROUTE("user32.dll", GetDC),
    ROUTE("user32.dll", ReleaseDC),
    ROUTE("user32.dll", FillRect),
    ROUTE("gdi32.dll", BitBlt),
};

// Points every import slot of the program that holds `real` at `counted`.
void Reroute(BYTE* program, void* real, void* counted) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(program);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(program + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return;
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(program + imports.VirtualAddress); module->Name;
         ++module) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(program + module->FirstThunk); slot->u1.Function;
             ++slot) {
            if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(real))
                continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &protection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(counted);
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), protection, &protection);
        }
    }
}

void Start() {
    HANDLE block =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SoakLedger), kSoakLedgerName);
    if (!block)
        return;
    ledger = static_cast<SoakLedger*>(MapViewOfFile(block, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SoakLedger)));
    if (!ledger)
        return;
    std::memset(ledger, 0, sizeof(*ledger));
    BYTE* program = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    for (const Route& route : kRoutes) {
        *route.real = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(route.dll), route.name));
        if (*route.real)
            Reroute(program, *route.real, route.counted);
    }
    InterlockedExchange(&ledger->ready, 1);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        // Stays loaded: the program's imports point into it from now on.
        HMODULE pinned = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(&Start), &pinned);
        DisableThreadLibraryCalls(self);
        Start();
    }
    return TRUE;
}
