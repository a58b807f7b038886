#pragma once
// The places a watch of the start-up places covers: whatever each rule of Scan.ini reads, as
// the row of its kind says (StartupKindRow::watchedPlaces), and which rules read each place, so
// that a change there is answered by reading those rules again (StartupPicture.h).
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/startup/ScanRules.h"
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

    // The places added since the last Take.
    std::vector<platform::WatchedPlace> Take() { return std::exchange(places_, {}); }

private:
    void Add(const platform::WatchedPlace& place);

    PlaceReading reading_;
    std::vector<platform::WatchedPlace> places_;
};

// The places each rule reads, beside the rules (none for a rule of an unknown type).
std::vector<std::vector<platform::WatchedPlace>> WatchedPlacesOfRules(
    platform::System& sys, const std::vector<ScanRule>& rules);

// Places to watch, and the rules that read each.
struct WatchSet {
    std::vector<platform::WatchedPlace> places;
    std::vector<std::vector<std::size_t>> rulesOf;  // beside places: rule indexes, ascending
};

// The places of all rules (as WatchedPlacesOfRules gives them), each once, in rule order.
WatchSet MergeWatchedPlaces(const std::vector<std::vector<platform::WatchedPlace>>& ofRules);

// Every place the rules read, in rule order.
std::vector<platform::WatchedPlace> WatchedPlacesOf(platform::System& sys);

}  // namespace zorvik
