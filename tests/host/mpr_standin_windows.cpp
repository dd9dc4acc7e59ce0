// A stand-in for the system's "MPR.DLL", built for the saver's tests: its
// change-password export records what it was asked and shows nothing.
// Recorded under HKCU\Software\Pelmar\QuorbelTests\PasswordStandIn:
//   ChangeCalls, ChangeOwner, ChangeFlags (DWORD), ChangeProvider (REG_SZ)
#include <windows.h>

#include "standin_registry_windows.h"

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD flags, LPVOID reserved) {
    WriteStandInDword("ChangeCalls", ReadStandInDword("ChangeCalls", 0) + 1);
    WriteStandInString("ChangeProvider", provider ? provider : "(null)");
    WriteStandInDword("ChangeOwner", static_cast<DWORD>(reinterpret_cast<UINT_PTR>(owner)));
    WriteStandInDword("ChangeFlags", flags | (reserved ? 0x80000000u : 0u));
    return ERROR_SUCCESS;
}
