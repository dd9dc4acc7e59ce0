// The runtime's locks (libgcc's win32 thread model: the unwinder's frame
// table, emulated thread-locals) make their semaphores with CreateSemaphoreW.
// The Windows 95 family has that name only as a stub that fails with
// ERROR_CALL_NOT_IMPLEMENTED, which would leave every such lock without the
// semaphore it waits on when contended. The program therefore fills that
// import slot itself: the system's CreateSemaphoreW where it works, otherwise
// CreateSemaphoreA with the name converted.
#include "host/program/kernel32_fallbacks_windows.h"

#if defined(__i386__)
#define IMPORT_SLOT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#else
#define IMPORT_SLOT(name, argumentBytes) "__imp_" #name
#endif

namespace {

HANDLE WINAPI CreateSemaphoreWOrA(LPSECURITY_ATTRIBUTES security, LONG initial, LONG maximum, LPCWSTR name) {
    // Looked up on every call: the runtime makes only a handful.
    auto system = reinterpret_cast<CreateSemaphoreWFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "CreateSemaphoreW")));
    return CreateSemaphoreWithFallback(system, security, initial, maximum, name);
}

}  // namespace

// clang-format off
extern "C" {
CreateSemaphoreWFn createSemaphoreSlot __asm__(IMPORT_SLOT(CreateSemaphoreW, 16)) = CreateSemaphoreWOrA;
}
// clang-format on

HANDLE CreateSemaphoreWithFallback(CreateSemaphoreWFn system, LPSECURITY_ATTRIBUTES security, LONG initial,
                                   LONG maximum, LPCWSTR name) {
    if (system) {
        HANDLE made = system(security, initial, maximum, name);
        if (made || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
            return made;
    }
    char narrow[MAX_PATH] = "";
    if (name && !WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, MAX_PATH, nullptr, nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateSemaphoreA(security, initial, maximum, name ? narrow : nullptr);
}
