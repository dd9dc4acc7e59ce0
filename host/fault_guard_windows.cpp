#include "host/fault_guard_windows.h"

#include <windows.h>

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
        ExitProcess(static_cast<UINT>(SetSaverRunning(0)));
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
