// A stand-in for the system's "PASSWORD.CPL", built for the saver's tests.
// It shows no dialog: each call answers from a script in the registry and
// records what it saw, so the tests can drive and observe the password check.
//
// HKCU\Software\Pelmar\QuorbelTests\PasswordStandIn
//   Answers          REG_SZ   one character per call, '1' approves; missing = '0'
//   CloseDuringCall  DWORD    1: send WM_CLOSE to the owner from inside the call
//   CloseAfterCall   DWORD    1: post WM_CLOSE to the owner before returning
//   InstallFilter    DWORD    1: install its own unhandled-exception filter
//                             while loading; 2: from a thread of its own,
//                             once the loader has long returned
// recorded:
//   Calls, Owner, RunningDuringCall, CursorDuringCall, NestedCloseResult,
//   Loads (DWORD)
//   LoadedFrom (REG_SZ)
//   Sequence (REG_SZ): "+" and "-" for each saver-running on and off that
//   the program asks of SystemParametersInfoA, "V" for each verify call,
//   "F" when its own exception filter runs.
//   FilterInstalled (DWORD): 1 once its filter is in place.
//
// Wine keeps the saver-running state per process, so the tests cannot read
// it from outside; instead the stand-in reroutes the program's import of
// SystemParametersInfoA through a recorder. It pins itself in memory so the
// rerouted import stays valid after the program frees it.
#include <windows.h>

#include <cstring>

#include "standin_registry_windows.h"

namespace {

constexpr UINT kGetScreenSaverRunning = 114;  // SPI_GETSCREENSAVERRUNNING
constexpr UINT kScreenSaverRunning = 97;      // SPI_SCREENSAVERRUNNING

typedef BOOL(WINAPI* SystemParametersInfoFn)(UINT, UINT, PVOID, UINT);
SystemParametersInfoFn realSystemParametersInfo = nullptr;

void AppendToSequence(char event) {
    char sequence[256] = {};
    ReadStandInString("Sequence", sequence, sizeof(sequence) - 2);
    size_t length = std::strlen(sequence);
    sequence[length] = event;
    sequence[length + 1] = '\0';
    WriteStandInString("Sequence", sequence);
}

BOOL WINAPI RecordingSystemParametersInfo(UINT action, UINT param, PVOID data, UINT update) {
    if (action == kScreenSaverRunning)
        AppendToSequence(param ? '+' : '-');
    return realSystemParametersInfo(action, param, data, update);
}

// Replaces the program's import address of SystemParametersInfoA.
void RerouteProgramImport() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    realSystemParametersInfo = reinterpret_cast<SystemParametersInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SystemParametersInfoA")));
    if (!realSystemParametersInfo)
        return;
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress)
        return;
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; descriptor->Name; ++descriptor) {
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; slot->u1.Function; ++slot) {
            if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(realSystemParametersInfo))
                continue;
            DWORD oldProtection = 0;
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &oldProtection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(&RecordingSystemParametersInfo);
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), oldProtection, &oldProtection);
        }
    }
}

// What a module with its own crash handling does: it takes the process's
// filter for itself and ends the process when it runs.
LONG WINAPI StandInFilter(EXCEPTION_POINTERS*) {
    AppendToSequence('F');
    return EXCEPTION_EXECUTE_HANDLER;
}

void InstallOwnFilter() {
    SetUnhandledExceptionFilter(StandInFilter);
    WriteStandInDword("FilterInstalled", 1);
}

DWORD WINAPI InstallOwnFilterLater(LPVOID) {
    Sleep(500);
    InstallOwnFilter();
    return 0;
}

void RecordLoad(HMODULE self) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    WriteStandInString("LoadedFrom", path);
    WriteStandInDword("Loads", ReadStandInDword("Loads", 0) + 1);
    HMODULE pinned = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&RecordLoad), &pinned);
    RerouteProgramImport();
    const DWORD filter = ReadStandInDword("InstallFilter", 0);
    if (filter == 1) {
        InstallOwnFilter();
    } else if (filter == 2) {
        // Not waited for here: the loader lock is held.
        CloseHandle(CreateThread(nullptr, 0, InstallOwnFilterLater, nullptr, 0, nullptr));
    }
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
    DWORD call = ReadStandInDword("Calls", 0);
    WriteStandInDword("Calls", call + 1);
    WriteStandInDword("Owner", static_cast<DWORD>(reinterpret_cast<UINT_PTR>(owner)));
    AppendToSequence('V');

    BOOL running = FALSE;
    if (!SystemParametersInfoA(kGetScreenSaverRunning, 0, &running, 0))
        running = 2;
    WriteStandInDword("RunningDuringCall", static_cast<DWORD>(running));

    // A real password dialog shows the arrow; the saver must hide it again.
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    WriteStandInDword("CursorDuringCall", GetCursor() != nullptr);

    if (ReadStandInDword("CloseDuringCall", 0)) {
        // The saver's window belongs to this thread: a direct, nested call.
        LRESULT nested = SendMessageA(owner, WM_CLOSE, 0, 0);
        WriteStandInDword("NestedCloseResult", static_cast<DWORD>(nested));
    }

    char answers[64] = {};
    ReadStandInString("Answers", answers, sizeof(answers) - 1);
    bool approve = call < sizeof(answers) && answers[call] == '1';

    if (ReadStandInDword("CloseAfterCall", 0))
        PostMessageA(owner, WM_CLOSE, 0, 0);
    return approve ? TRUE : FALSE;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        RecordLoad(self);
    return TRUE;
}
