// The thread runtime that the C++ library brings along imports a few KERNEL32
// functions that Windows 95, 98 and NT 4 lack (GetTickCount64 is even newer:
// Vista). An image importing a missing function is refused by the loader, so
// the program defines those import slots itself: each slot first points at a
// resolver that looks the function up by name and falls back to a stand-in
// when the system has none. Where the function exists it is used unchanged.
#include <windows.h>

#if defined(__i386__)
#define IMPORT_SLOT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#else
#define IMPORT_SLOT(name, argumentBytes) "__imp_" #name
#endif

namespace {

FARPROC FindInKernel32(const char* name) { return GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), name); }

// Each slot is resolved on first use; racing first calls store the same value.
template <typename Function>
Function Resolve(Function& slot, const char* name, Function fallback) {
    Function found = reinterpret_cast<Function>(reinterpret_cast<void*>(FindInKernel32(name)));
    slot = found ? found : fallback;
    return slot;
}

typedef ULONGLONG(WINAPI* GetTickCount64Fn)();
typedef BOOL(WINAPI* TryEnterCriticalSectionFn)(LPCRITICAL_SECTION);
typedef BOOL(WINAPI* GetHandleInformationFn)(HANDLE, LPDWORD);
typedef PVOID(WINAPI* AddVectoredExceptionHandlerFn)(ULONG, PVECTORED_EXCEPTION_HANDLER);
typedef ULONG(WINAPI* RemoveVectoredExceptionHandlerFn)(PVOID);
typedef BOOL(WINAPI* IsDebuggerPresentFn)();

ULONGLONG WINAPI FirstGetTickCount64();
BOOL WINAPI FirstTryEnterCriticalSection(LPCRITICAL_SECTION section);
BOOL WINAPI FirstGetHandleInformation(HANDLE handle, LPDWORD flags);
PVOID WINAPI FirstAddVectoredExceptionHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler);
ULONG WINAPI FirstRemoveVectoredExceptionHandler(PVOID handle);
BOOL WINAPI FirstIsDebuggerPresent();

}  // namespace

// clang-format off
extern "C" {
GetTickCount64Fn tickCount64Slot
    __asm__(IMPORT_SLOT(GetTickCount64, 0)) = FirstGetTickCount64;
TryEnterCriticalSectionFn tryEnterSlot
    __asm__(IMPORT_SLOT(TryEnterCriticalSection, 4)) = FirstTryEnterCriticalSection;
GetHandleInformationFn handleInformationSlot
    __asm__(IMPORT_SLOT(GetHandleInformation, 8)) = FirstGetHandleInformation;
AddVectoredExceptionHandlerFn addHandlerSlot
    __asm__(IMPORT_SLOT(AddVectoredExceptionHandler, 8)) = FirstAddVectoredExceptionHandler;
RemoveVectoredExceptionHandlerFn removeHandlerSlot
    __asm__(IMPORT_SLOT(RemoveVectoredExceptionHandler, 4)) = FirstRemoveVectoredExceptionHandler;
IsDebuggerPresentFn debuggerPresentSlot
    __asm__(IMPORT_SLOT(IsDebuggerPresent, 0)) = FirstIsDebuggerPresent;
}
// clang-format on

namespace {

// Only timeouts are measured with it; the 49.7-day wrap does not matter there.
ULONGLONG WINAPI TickCountWidened() { return GetTickCount(); }

// Waiting instead of failing: the lock is still taken, never skipped.
BOOL WINAPI EnterAndSucceed(LPCRITICAL_SECTION section) {
    EnterCriticalSection(section);
    return TRUE;
}

// Used only to check that a thread handle is still valid.
BOOL WINAPI NoHandleFlags(HANDLE handle, LPDWORD flags) {
    if (flags)
        *flags = 0;
    return handle != nullptr;
}

// Used only to name threads for a debugger, which such systems lack.
PVOID WINAPI NoVectoredHandler(ULONG, PVECTORED_EXCEPTION_HANDLER) { return nullptr; }
ULONG WINAPI NoVectoredHandlerRemoved(PVOID) { return 0; }
BOOL WINAPI NoDebugger() { return FALSE; }

ULONGLONG WINAPI FirstGetTickCount64() { return Resolve(tickCount64Slot, "GetTickCount64", &TickCountWidened)(); }
BOOL WINAPI FirstTryEnterCriticalSection(LPCRITICAL_SECTION section) {
    return Resolve(tryEnterSlot, "TryEnterCriticalSection", &EnterAndSucceed)(section);
}
BOOL WINAPI FirstGetHandleInformation(HANDLE handle, LPDWORD flags) {
    return Resolve(handleInformationSlot, "GetHandleInformation", &NoHandleFlags)(handle, flags);
}
PVOID WINAPI FirstAddVectoredExceptionHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
    return Resolve(addHandlerSlot, "AddVectoredExceptionHandler", &NoVectoredHandler)(first, handler);
}
ULONG WINAPI FirstRemoveVectoredExceptionHandler(PVOID handle) {
    return Resolve(removeHandlerSlot, "RemoveVectoredExceptionHandler", &NoVectoredHandlerRemoved)(handle);
}
BOOL WINAPI FirstIsDebuggerPresent() { return Resolve(debuggerPresentSlot, "IsDebuggerPresent", &NoDebugger)(); }

}  // namespace
