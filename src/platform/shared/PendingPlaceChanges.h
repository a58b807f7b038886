#pragma once
// The changes a place watch has seen and its owner has not taken yet. The waits tell of a
// place by what it is, not by its index: a notification armed for one set of places may fire
// after Watch has replaced that set, and its change must then count under the place's index in
// the new set. Not locked: the Windows watch holds its own lock around every call.
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/PlaceWatch.h"

namespace platform::shared {

// What tells one place from another across two sets: its kind, root and path (any letter case,
// any trailing separator). Whether its subtree is watched does not matter: it is the same place.
std::string PlaceIdentity(const WatchedPlace& place);

class PendingPlaceChanges {
public:
    // The set Watch was given last; pending changes are told against it from now on.
    void SetPlaces(const std::vector<WatchedPlace>& places);

    // A notification of the place with this identity fired. True when nothing was pending
    // before: the first change of a burst, the one that posts the window its message.
    bool Add(const std::string& identity);
    // A change no place can be named for (a lost watch).
    bool AddUnplaced();
    bool Pending() const { return unplaced_ || !fired_.empty(); }
    // Everything pending, against the set given last; nothing is pending afterwards.
    PlaceChanges Take();

private:
    std::map<std::string, std::size_t> indexOf_;
    std::set<std::string> fired_;
    bool unplaced_ = false;
};

}  // namespace platform::shared
