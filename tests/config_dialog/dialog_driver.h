// Drives the real configuration dialog: the test thread runs it modally,
// a second thread finds it and works its controls with messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// The captions in the language the locale asks for (expected_language.h).
extern const wchar_t* const kConfigCaption;
extern const wchar_t* const kAboutCaption;
extern const wchar_t* const kHelpFailureCaption;

// Test names for the two families the dialog runs on: the parameter is
// true for the Windows 95 family (ANSI calls), false for NT (wide calls).
std::string FamilyName(const testing::TestParamInfo<bool>& family);

// Polls until the condition holds or the limit passes.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

// A visible dialog of the given thread with that caption (and owner, when given).
HWND FindThreadDialog(DWORD threadId, const wchar_t* caption, HWND owner = nullptr);
HWND WaitForThreadDialog(DWORD threadId, const wchar_t* caption, HWND owner = nullptr);

// Runs dialog 2003 on this thread while `drive` works it from another one.
// If the dialog is still open when `drive` returns, it is cancelled, so a
// failed drive cannot hang the test (the result then reads 0).
INT_PTR RunDrivenConfigDialog(HWND owner, const std::function<void(HWND dialog)>& drive);

// Actions, as the user would cause them.
void Click(HWND dialog, int id);      // BM_CLICK on the control
void PostClick(HWND dialog, int id);  // for buttons that open a modal box
void Scroll(HWND dialog, int code, int thumb = 0);
void TypeChars(HWND dialog, int id, const std::wstring& chars);
// Characters as an ANSI window receives them: bytes of the code page.
void TypeBytes(HWND dialog, int id, const std::string& bytes);
void SelectAll(HWND dialog, int id);
void PressKey(HWND target, UINT virtualKey);  // posted through the dialog manager
void CloseByCaptionBox(HWND window);          // WM_SYSCOMMAND SC_CLOSE

// Reading the dialog's state.
bool Checked(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
int SpeedBarPosition(HWND dialog);
std::wstring Text(HWND window);
std::wstring ControlText(HWND dialog, int id);
RECT WindowRect(HWND window);
