#pragma once
// The places a watch of the start-up places covers: whatever each rule of Scan.ini reads, as
// the row of its kind says (StartupKindRow::watchedPlaces). The main window and `zorvikc watch`
// both arm their watch with these, afresh after every scan, so an edited Scan.ini counts too.
#include <string>
#include <vector>

#include "core/engine/startup/StartupPlaces.h"
#include "platform/PlaceWatch.h"
#include "platform/System.h"

namespace zorvik {

// What a kind's watchedPlaces is given: the system, the accounts for per-user places, and the
// list it adds to. A place asked for twice is watched once (the wider of the two).
class WatchedPlaceList {
public:
    explicit WatchedPlaceList(platform::System& sys) : reading_(sys) {}

    platform::System& sys() { return reading_.sys(); }
    const StrAr& Accounts() { return reading_.Accounts(); }

    // A registry key as Registry::Open takes it; subtree: its subkeys' values count too.
    void AddKey(platform::RootKey root, const std::string& path, bool subtree = false);
    void AddFolder(const std::string& path, bool subtree = false);
    // A file is watched through its folder; a bare name through the Windows folder, where the
    // profile functions look for it.
    void AddFolderOf(const std::string& file);
    void AddScheduledTasks();

    std::vector<platform::WatchedPlace> Take() { return std::move(places_); }

private:
    void Add(const platform::WatchedPlace& place);

    PlaceReading reading_;
    std::vector<platform::WatchedPlace> places_;
};

// Every place the rules read, in rule order.
std::vector<platform::WatchedPlace> WatchedPlacesOf(platform::System& sys);

}  // namespace zorvik
