// System functions looked up by name rather than imported, so that the
// program still loads on the Windows that lack them; nullptr there.
#pragma once

#include <windows.h>

template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// USER32.DLL is loaded in every program that makes windows.
template <typename Function>
Function FindInUser32(const char* name) {
    return FindFunction<Function>(GetModuleHandleA("USER32.DLL"), name);
}
