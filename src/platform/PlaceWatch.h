#pragma once
// Watching the places start-up entries live in: registry keys, folders and the scheduled
// tasks. The watch says which of the places it was given changed, never what changed there:
// the caller reads those places again.
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

// What changed since the changes were last taken.
struct PlaceChanges {
    // The places whose notifications fired, as indexes into the set last given to Watch;
    // ascending, each once.
    std::vector<std::size_t> places;
    // Some change cannot be placed: a watch was lost (its key or folder could not be watched
    // again, a notification the system could not deliver, a wait that failed), or a place
    // fired that the set given to Watch since holds no more. The caller reads every place.
    bool unplaced = false;

    bool Any() const { return unplaced || !places.empty(); }
    explicit operator bool() const { return Any(); }
};

class PlaceWatch {
public:
    // Stops watching; returns once no wait is left running.
    virtual ~PlaceWatch() = default;

    // Watches these places from now on, instead of any earlier set; returns how many of them
    // are watched (a place neither it nor any parent of which can be opened is not). The new
    // set is armed before the old one ends, so a change in between is not missed. A change
    // already reported and not yet taken stays reported, under the index its place has in the
    // new set (unplaced when the new set lacks it).
    virtual std::size_t Watch(const std::vector<WatchedPlace>& places) = 0;

    // What changed since the last call (or since the watch was made), waiting up to timeoutMs
    // for a change when none is pending; the answer clears the pending changes, so a burst of
    // changes taken late is one answer. A place whose key or folder was deleted fires as a
    // change of that place; a watch that was lost is an unplaced change: the caller reads
    // everything rather than trusts silence. Each notification is armed again before its
    // change is reported, so whatever changes while the caller reads is reported next time.
    // The simulated system never blocks here: its changes are reported at once, as they are
    // made.
    virtual PlaceChanges WaitForChange(std::uint32_t timeoutMs) = 0;
    PlaceChanges TakeChange() { return WaitForChange(0); }

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
