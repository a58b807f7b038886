#pragma once
// One watched place armed on its waiting thread: a registry key's change notification, or a
// folder's. A place that does not exist is armed on its nearest existing parent; each time a
// notification fires the place is armed afresh, nearer to itself once it exists, or further up
// once it is gone. A key's notification lasts only as long as the thread that asked for it
// (before Windows 8), so arming happens on the thread that waits.
//
// Beside the place, the names in the folder or key above it are watched: deleting a key or a
// folder does not fire every system's notification on the deleted place itself (Wine tells only
// the key above), and a lost watch must not fall silent.
#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>

#include "platform/PlaceWatch.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/system/ScopedKey.h"
#include "platform/win32/watch/WatchHandles.h"

namespace platform::win32 {

// A key's change notification: the open key and the event its notification sets.
class KeyNotification {
public:
    KeyNotification();
    // Asks for one notification of changes to the key at path; false when it cannot be opened
    // (error holds why) or the notification cannot be asked for.
    bool Arm(HKEY root, const std::string& path, bool subtree, DWORD changes, LONG& error);
    void Disarm();
    // Null when not armed. Auto-reset, so the wait that sees it consumes it.
    HANDLE WaitHandle() const { return armed_ ? changed_.get() : nullptr; }

private:
    ScopedKey key_;
    UniqueHandle changed_;
    bool armed_ = false;
};

class PlaceNotification {
public:
    explicit PlaceNotification(WatchedPlace place);
    PlaceNotification(const PlaceNotification&) = delete;
    PlaceNotification& operator=(const PlaceNotification&) = delete;

    // Asks for the next notifications; false when neither the place nor a parent can be
    // watched (then both handles are null).
    bool Arm();
    // What a wait waits on: the place's own notification, and that of the names above it
    // (null where there is no folder or key above).
    HANDLE PlaceHandle() const;
    HANDLE AboveHandle() const;

private:
    bool ArmKey();
    bool ArmFolder();

    WatchedPlace place_;
    KeyNotification key_;
    KeyNotification keyAbove_;
    ChangeNotification folder_;
    ChangeNotification folderAbove_;
};

}  // namespace platform::win32
