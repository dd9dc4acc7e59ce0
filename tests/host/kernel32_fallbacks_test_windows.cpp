// The program's own CreateSemaphoreW slot: the system's function where it
// works; CreateSemaphoreA, with the name converted, where the system has only
// the Windows 95 family's failing stub.
#include <gtest/gtest.h>

#include "host/program/kernel32_fallbacks_windows.h"

namespace {

HANDLE WINAPI NotImplementedStub(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return nullptr;
}

HANDLE WINAPI AccessDenied(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

// A semaphore with one free count of at most one: one wait passes, the
// second times out, a release lets it pass again.
void ExpectCountsOne(HANDLE semaphore) {
    ASSERT_NE(semaphore, nullptr) << GetLastError();
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 1, nullptr));
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, nullptr)) << "the maximum was not kept";
    CloseHandle(semaphore);
}

TEST(CreateSemaphoreFallback, StubOfThe95FamilyGivesAWorkingUnnamedSemaphore) {
    ExpectCountsOne(CreateSemaphoreWithFallback(NotImplementedStub, nullptr, 1, 1, nullptr));
}

TEST(CreateSemaphoreFallback, StubOfThe95FamilyKeepsTheNameInTheAnsiCodePage) {
    HANDLE made = CreateSemaphoreWithFallback(NotImplementedStub, nullptr, 1, 1, L"QuorbelFallbackSemaphore");
    ASSERT_NE(made, nullptr) << GetLastError();
    HANDLE opened = OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, "QuorbelFallbackSemaphore");
    EXPECT_NE(opened, nullptr) << "no semaphore of that name";
    if (opened) {
        ExpectCountsOne(opened);
    }
    CloseHandle(made);
}

TEST(CreateSemaphoreFallback, MissingFunctionFallsBackToo) {
    ExpectCountsOne(CreateSemaphoreWithFallback(nullptr, nullptr, 1, 1, nullptr));
}

TEST(CreateSemaphoreFallback, OtherFailuresAreTheSystemsAnswer) {
    SetLastError(0);
    EXPECT_EQ(CreateSemaphoreWithFallback(AccessDenied, nullptr, 1, 1, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

// This program links the slot too, so a plain call goes through it.
TEST(CreateSemaphoreFallback, TheSlotPassesTheSystemFunctionThrough) {
    ExpectCountsOne(CreateSemaphoreW(nullptr, 1, 1, nullptr));
}

}  // namespace
