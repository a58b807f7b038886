#pragma once
// Wine lacks a few things Windows has (thread states, paging of the user list). Cases that
// depend on them skip their Wine-specific part when this says the run is under Wine.
#ifdef _WIN32
#include "platform/win32/WindowsApi.h"

namespace contract {
inline bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
}  // namespace contract
#else
namespace contract {
inline bool RunningUnderWine() { return false; }
}  // namespace contract
#endif
