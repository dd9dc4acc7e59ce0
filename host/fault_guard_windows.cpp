#include "host/fault_guard_windows.h"

#include <windows.h>

#include "host/config/windows_family_windows.h"
#include "host/saver_running_windows.h"

namespace {

// Set once a fault reaches the guard: from then on nothing puts a filter
// back, or the system's report would call the guard again.
volatile LONG faultReported = 0;

LONG WINAPI SaverFaultFilter(EXCEPTION_POINTERS* fault) {
    InterlockedExchange(&faultReported, 1);
    // UnhandledExceptionFilter calls the top-level filter itself; step aside
    // so the system's report runs once instead of recursing into us.
    SetUnhandledExceptionFilter(nullptr);
    LONG decision = UnhandledExceptionFilter(fault);
    if (decision == EXCEPTION_EXECUTE_HANDLER) {
        const int32_t cleared = SetSaverRunning(0);
        // The NT family reports a crash by its exit code; the 95 family's
        // programs have always ended with the call's result, kept as it was.
        ExitProcess(Windows95Family() ? static_cast<UINT>(cleared) : fault->ExceptionRecord->ExceptionCode);
    }
    return decision;
}

}  // namespace

void InstallFaultGuard() { SetUnhandledExceptionFilter(SaverFaultFilter); }

void KeepFaultGuard() {
    if (faultReported)
        return;
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(SaverFaultFilter);
    // A fault may have come between the test and the call: give the report
    // back its empty filter.
    if (faultReported && previous == nullptr)
        SetUnhandledExceptionFilter(nullptr);
}
