#pragma once
// What kind of Windows the test runs on, for the cases about the 32-bit view of a 64-bit system.
#include "platform/win32/WindowsApi.h"

namespace testsupport {

// A 32-bit program on 64-bit Windows (its registry and System32 are redirected by default).
inline bool RunsUnderWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

inline bool Is64BitWindows() { return sizeof(void*) == 8 || RunsUnderWow64(); }

}  // namespace testsupport
