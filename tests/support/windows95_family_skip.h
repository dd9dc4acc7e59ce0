// 64-bit Windows has no Windows 95 family, so a 64-bit program never takes
// that family's paths: the tests of them are skipped there, with the reason.
#pragma once

constexpr bool kBuildRunsOnWindows95Family = sizeof(void*) == 4;
constexpr char kNoWindows95Family[] = "a 64-bit program never runs on the Windows 95 family";
