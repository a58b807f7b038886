#include "platform/win32/system/Wow64FsRedirection.h"

namespace platform::win32 {
namespace {

using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);

struct RedirectionFunctions {
    DisableFn disable = nullptr;
    RevertFn revert = nullptr;
};

// kernel32 is never unloaded, so the entry points can be looked up once.
const RedirectionFunctions& Functions() {
    static const RedirectionFunctions fns = [] {
        RedirectionFunctions f;
        if (HMODULE kernel = ::GetModuleHandleA("kernel32.dll")) {
            f.disable = reinterpret_cast<DisableFn>(
                reinterpret_cast<void*>(::GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
            f.revert = reinterpret_cast<RevertFn>(
                reinterpret_cast<void*>(::GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
        }
        if (!f.disable || !f.revert) f = RedirectionFunctions{};
        return f;
    }();
    return fns;
}

}  // namespace

Wow64FsRedirectionOff::Wow64FsRedirectionOff() {
    const auto& fns = Functions();
    // The failure of the call leaves the thread's last error set; callers read it only after
    // their own calls, so it is preserved here.
    DWORD lastError = ::GetLastError();
    if (fns.disable) active_ = fns.disable(&oldValue_) != FALSE;
    ::SetLastError(lastError);
}

Wow64FsRedirectionOff::~Wow64FsRedirectionOff() {
    if (!active_) return;
    DWORD lastError = ::GetLastError();
    Functions().revert(oldValue_);
    ::SetLastError(lastError);
}

}  // namespace platform::win32
