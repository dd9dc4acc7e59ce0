// The program's entry. The runtime's own argument parsing is ignored: the raw
// command line is walked with CharNextA so a double-byte character is never
// split, and the process ends through ExitProcess so that the runtime's
// exit-time processing does not run.
#include <windows.h>

#include "host/command_line.h"
#include "host/host_main_windows.h"

namespace {
const char* NextCharacter(const char* position) { return CharNextA(position); }
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* arguments = SkipProgramName(GetCommandLineA(), NextCharacter);
    ExitProcess(static_cast<UINT>(HostMain(GetModuleHandleA(nullptr), arguments)));
}
