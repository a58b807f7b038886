#pragma once
// One watched place armed on its waiting thread: a registry key's change notification, or a
// folder's. A place that does not exist is armed on its nearest existing parent; each time the
// notification fires it is armed afresh, nearer to the place once that exists, or further up
// once it is gone. A key's notification lasts only as long as the thread that asked for it
// (before Windows 8), so arming happens on the thread that waits.
#include "platform/win32/WindowsApi.h"

#include "platform/PlaceWatch.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/system/ScopedKey.h"
#include "platform/win32/watch/WatchHandles.h"

namespace platform::win32 {

class PlaceNotification {
public:
    explicit PlaceNotification(WatchedPlace place);
    PlaceNotification(const PlaceNotification&) = delete;
    PlaceNotification& operator=(const PlaceNotification&) = delete;

    // Asks for the next notification; false when neither the place nor a parent can be
    // watched (then WaitHandle is null).
    bool Arm();
    // What a wait waits on; signalled once per notification.
    HANDLE WaitHandle() const;

private:
    bool ArmKey();
    bool ArmFolder();

    WatchedPlace place_;
    ScopedKey key_;
    bool keyArmed_ = false;
    UniqueHandle keyChanged_;  // auto-reset, so the wait that sees it consumes it
    ChangeNotification folder_;
};

}  // namespace platform::win32
