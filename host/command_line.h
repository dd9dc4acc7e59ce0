// Reading the saver's command line: the program name, the mode letter and the
// decimal window number that some modes take. No Windows headers, so the
// rules are tested natively; the Windows entry supplies CharNextA as the step.
#pragma once

#include <cstdint>

// Returns the position of the character after the one at `position`. On
// Windows this is CharNextA, so that a double-byte character is never split.
using NextCharFn = const char* (*)(const char* position);

// Plain byte stepping, for single-byte text and the native tests.
const char* NextByte(const char* position);

// Steps over the program name (quoted or not) and the blanks after it, and
// returns where the arguments begin.
const char* SkipProgramName(const char* commandLine, NextCharFn next);

enum class RunMode {
    Configuration,       // no letter: the dialog without owner
    ConfigurationOwned,  // "c": owned by the foreground window
    FullScreen,          // "s"
    Preview,             // "p" or "l"
    ChangePassword,      // "a"
    Unrecognised,        // exit code -1
};

struct ModeRequest {
    RunMode mode;
    // Just after the mode letter; null for Configuration and Unrecognised.
    const char* argument;
};

// Blanks, "-" and "/" before the letter are skipped; the letter may be in
// either case; any other byte ends the search as unrecognised.
ModeRequest ParseMode(const char* arguments);

// Steps over blanks (code 32 only), as before the number of "p", "l" and "a".
const char* SkipSpaces(const char* text);

// Decimal digits up to the first other byte; wraps modulo 2^32 like the
// window handle value it stands for. An empty or non-numeric text gives 0.
uint32_t ParseWindowNumber(const char* text);
