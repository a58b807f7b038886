#pragma once
// "These places changed since last asked": raised by the waiting threads, taken by the watch's
// owner, and posted to a window once per change taken, so a burst costs one answer.
#include "platform/win32/WindowsApi.h"

#include <string>
#include <vector>

#include "platform/PlaceWatch.h"
#include "platform/shared/PendingPlaceChanges.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/watch/WatchHandles.h"

namespace platform::win32 {

class ChangeSignal {
public:
    ChangeSignal();
    ChangeSignal(const ChangeSignal&) = delete;
    ChangeSignal& operator=(const ChangeSignal&) = delete;

    // From any thread: the place with this identity (shared::PlaceIdentity) fired, or a change
    // that no place can be named for.
    void Raise(const std::string& identity);
    void RaiseUnplaced();
    void Wake() { ::SetEvent(wake_.get()); }

    // The set of places changes are told against from now on.
    void SetPlaces(const std::vector<WatchedPlace>& places);
    // What was pending; nothing is any more.
    PlaceChanges Take();
    // Waits up to timeoutMs for a change or a wake; then as Take.
    PlaceChanges Wait(DWORD timeoutMs);

    // A change, pending now or raised later, posts message to window; null stops the posts.
    void PostTo(HWND window, UINT message);

private:
    void Raised(bool first);

    CriticalSection lock_;
    shared::PendingPlaceChanges pending_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    UniqueHandle changed_;  // set exactly while a change is pending
    UniqueHandle wake_;     // auto-reset: one wake ends one wait
};

}  // namespace platform::win32
