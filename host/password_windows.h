// The desktop's saver password on the Windows 95 family: the verifier from
// "PASSWORD.CPL" during a full-screen run, and the change dialog of "MPR.DLL".
#pragma once

#include <windows.h>

// Sent by ConfirmClose to the saver window; answered by the verifier.
constexpr UINT kVerifyRequestMessage = 0x8000;  // WM_APP

void LoadPasswordCheck();
void UnloadPasswordCheck();
// Nonzero when the saver window may close.
LRESULT ConfirmClose(HWND window);
// The answer to kVerifyRequestMessage: the verifier's, or 1 without one.
LRESULT AnswerVerifyRequest(HWND window);
void ChangeSaverPassword(HWND owner);
