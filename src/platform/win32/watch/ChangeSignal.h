#pragma once
// "Something changed since last asked": raised by the waiting threads, taken by the watch's
// owner, and posted to a window once per change taken, so a burst costs one rescan.
#include "platform/win32/WindowsApi.h"

#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/watch/WatchHandles.h"

namespace platform::win32 {

class ChangeSignal {
public:
    ChangeSignal();
    ChangeSignal(const ChangeSignal&) = delete;
    ChangeSignal& operator=(const ChangeSignal&) = delete;

    // From any thread.
    void Raise();
    void Wake() { ::SetEvent(wake_.get()); }

    // Whether a change was pending; it is not any more.
    bool Take();
    // Waits up to timeoutMs for a change or a wake; then as Take.
    bool Wait(DWORD timeoutMs);

    // A change, pending now or raised later, posts message to window; null stops the posts.
    void PostTo(HWND window, UINT message);

private:
    CriticalSection lock_;
    bool pending_ = false;
    HWND window_ = nullptr;
    UINT message_ = 0;
    UniqueHandle changed_;  // set exactly while a change is pending
    UniqueHandle wake_;     // auto-reset: one wake ends one wait
};

}  // namespace platform::win32
