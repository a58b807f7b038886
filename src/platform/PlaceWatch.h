#pragma once
// Watching the places start-up entries live in: registry keys, folders and the scheduled
// tasks. The watch says only that something changed, never what: the caller rescans.
//
// A watch is owned by one thread (the GUI thread, or the console tool's main thread) that calls
// Watch, WaitForChange and NotifyWindow; Wake may come from any thread. The waiting itself
// happens off that thread, in blocking waits: an idle watch takes no processor time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace platform {

class Window;

enum class WatchedKind { RegistryKey, Folder, ScheduledTasks };

struct WatchedPlace {
    WatchedKind kind = WatchedKind::Folder;
    // Registry keys: the root and the path as Registry::Open takes them, in the same view (the
    // 64-bit one, so a 32-bit program's keys are named through Wow6432Node).
    RootKey root = RootKey::None;
    // A key's path under its root, or a folder's full path. A file is watched through its folder.
    std::string path;
    // Also changes in the keys or folders below. A place that does not exist yet is watched
    // through its nearest existing parent, whatever this says, so its creation is seen.
    bool subtree = false;

    static WatchedPlace Key(RootKey root, std::string path, bool subtree = false) {
        return {WatchedKind::RegistryKey, root, std::move(path), subtree};
    }
    static WatchedPlace Folder(std::string path, bool subtree = false) {
        return {WatchedKind::Folder, RootKey::None, std::move(path), subtree};
    }
    // Wherever this system keeps its scheduled tasks.
    static WatchedPlace ScheduledTasks() {
        return {WatchedKind::ScheduledTasks, RootKey::None, {}, true};
    }
};

constexpr std::uint32_t kWaitForever = 0xFFFFFFFF;

class PlaceWatch {
public:
    // Stops watching; returns once no wait is left running.
    virtual ~PlaceWatch() = default;

    // Watches these places from now on, instead of any earlier set; returns how many of them
    // are watched (a place neither it nor any parent of which can be opened is not). The new
    // set is armed before the old one ends, so a change in between is not missed. A change
    // already reported and not yet taken stays reported.
    virtual std::size_t Watch(const std::vector<WatchedPlace>& places) = 0;

    // Whether anything changed since the last call (or since the watch was made), waiting up to
    // timeoutMs for a change when none is pending; the answer clears the pending change, so a
    // burst of changes taken late is one answer. A watch that was lost (its key deleted, its
    // folder removed, a notification the system could not deliver) counts as a change: the
    // caller rescans rather than trusts silence. The simulated system never blocks here: its
    // changes are reported at once, as they are made.
    virtual bool WaitForChange(std::uint32_t timeoutMs) = 0;
    bool TakeChange() { return WaitForChange(0); }

    // Makes a WaitForChange in progress, or the next one, return at once (false unless a change
    // is pending). Safe from any thread, e.g. a console's Ctrl+C handler.
    virtual void Wake() = 0;

    // From now on a change posts message to the window (wParam and lParam 0), once until it is
    // taken with TakeChange, so the GUI rescans on its own thread from its message loop; a
    // change pending already is posted at once. nullptr stops the messages. The window must
    // outlive the watch or be unset first.
    virtual void NotifyWindow(Window* window, std::uint32_t message) = 0;
};

}  // namespace platform
