#pragma once
// Owners for what a place watch holds besides keys and plain handles: folder change
// notifications (closed with FindCloseChangeNotification) and the lock of the change state.
#include "platform/win32/WindowsApi.h"

#include "platform/win32/system/ScopedHandle.h"

namespace platform::win32 {

struct ChangeNotificationTraits {
    using Value = HANDLE;
    static Value None() { return INVALID_HANDLE_VALUE; }
    static bool IsNone(Value h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Value h) { ::FindCloseChangeNotification(h); }
};

using ChangeNotification = Scoped<ChangeNotificationTraits>;

class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&section_); }
    ~CriticalSection() { ::DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    class Lock {
    public:
        explicit Lock(CriticalSection& owner) : owner_(owner) {
            ::EnterCriticalSection(&owner_.section_);
        }
        ~Lock() { ::LeaveCriticalSection(&owner_.section_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CriticalSection& owner_;
    };

private:
    CRITICAL_SECTION section_;
};

}  // namespace platform::win32
