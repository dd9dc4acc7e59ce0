// soak_probe <ledger-dll> <interval-ms>
//
// Finds the running full-screen saver, loads the soak ledger into it, and
// prints one line per interval until the saver ends:
//   <ms since start> <handles> <live GDI objects> <DCs held> <worlds>
// Handles are the process's entries in the system's handle list (Wine's
// GetProcessHandleCount answers 0 for another process); the GDI figures from the ledger
// (objects the program made less those it deleted, window DCs taken less
// those released, full-screen clears), counted from the ledger's arrival.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "soak_ledger_windows.h"

namespace {

HWND WaitForSaver(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindWindowA("WindowsScreenSaverClass", "Screen Saver"))
            return window;
        if (GetTickCount() - start > milliseconds)
            return nullptr;
        Sleep(100);
    }
}

// LoadLibraryA in the other process; KERNEL32 sits at the same address there.
bool LoadInto(HANDLE process, const char* dll) {
    const size_t size = std::strlen(dll) + 1;
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote || !WriteProcessMemory(process, remote, dll, size, nullptr))
        return false;
    auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "LoadLibraryA")));
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr);
    if (!thread)
        return false;
    WaitForSingleObject(thread, 10000);
    DWORD module = 0;
    GetExitCodeThread(thread, &module);
    CloseHandle(thread);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return module != 0;
}

// NtQuerySystemInformation(SystemHandleInformation): one entry per open
// handle of every process.
struct HandleEntry {
    ULONG ownerProcessId;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};
typedef LONG(WINAPI* NtQuerySystemInformationFn)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

long HandlesOf(DWORD processId) {
    static auto query = reinterpret_cast<NtQuerySystemInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    static std::vector<BYTE> buffer(1 << 16);
    if (!query)
        return -1;
    LONG status;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
           kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status < 0)
        return -1;
    const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < list->count; ++i)
        count += list->entries[i].ownerProcessId == processId;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: soak_probe <ledger-dll> <interval-ms>\n");
        return 2;
    }
    const DWORD interval = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    HWND window = WaitForSaver(30000);
    if (!window) {
        std::fprintf(stderr, "soak_probe: no saver window\n");
        return 1;
    }
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
    if (!process || !LoadInto(process, argv[1])) {
        std::fprintf(stderr, "soak_probe: cannot load %s into the saver: %lu\n", argv[1], GetLastError());
        return 1;
    }
    HANDLE block = OpenFileMappingA(FILE_MAP_READ, FALSE, kSoakLedgerName);
    const auto* ledger =
        block ? static_cast<const SoakLedger*>(MapViewOfFile(block, FILE_MAP_READ, 0, 0, sizeof(SoakLedger))) : nullptr;
    if (!ledger || !ledger->ready) {
        std::fprintf(stderr, "soak_probe: the ledger did not start\n");
        return 1;
    }
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process, interval) == WAIT_TIMEOUT) {
        std::printf("%lu %ld %ld %ld %ld\n", GetTickCount() - start, HandlesOf(id), ledger->created - ledger->deleted,
                    ledger->dcsTaken - ledger->dcsReleased, ledger->clears);
        std::fflush(stdout);
    }
    return 0;
}
