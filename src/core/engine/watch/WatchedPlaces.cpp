#include "core/engine/watch/WatchedPlaces.h"

#include <map>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

namespace {

bool SamePlace(const platform::WatchedPlace& a, const platform::WatchedPlace& b) {
    return a.kind == b.kind && a.root == b.root && AsciiLower(a.path) == AsciiLower(b.path);
}

// The wider of two asks for one place.
void Widen(platform::WatchedPlace& known, const platform::WatchedPlace& asked) {
    known.subtree = known.subtree || asked.subtree;
}

}  // namespace

void WatchedPlaceList::Add(const platform::WatchedPlace& place) {
    for (platform::WatchedPlace& known : places_) {
        if (!SamePlace(known, place)) continue;
        Widen(known, place);
        return;
    }
    places_.push_back(place);
}

void WatchedPlaceList::AddKey(platform::RootKey root, const std::string& path, bool subtree) {
    if (root == platform::RootKey::None) return;
    Add(platform::WatchedPlace::Key(root, path, subtree));
}

void WatchedPlaceList::AddFolder(const std::string& path, bool subtree) {
    if (path.empty()) return;
    Add(platform::WatchedPlace::Folder(path, subtree));
}

void WatchedPlaceList::AddFolderOf(const std::string& file) {
    std::string folder = ProgramFolderOf(file);
    if (folder.empty()) folder = sys().files().WindowsDirectory();
    // "C:\Other\" names the folder "C:\Other"; a drive's root keeps its backslash.
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    AddFolder(folder);
}

void WatchedPlaceList::AddScheduledTasks() { Add(platform::WatchedPlace::ScheduledTasks()); }

std::vector<std::vector<platform::WatchedPlace>> WatchedPlacesOfRules(
    platform::System& sys, const std::vector<ScanRule>& rules) {
    // One list for all rules, so that the accounts are listed once.
    WatchedPlaceList places(sys);
    std::vector<std::vector<platform::WatchedPlace>> ofRules(rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (!rules[i].kind) continue;
        const StartupKindRow& row = RowOf(*rules[i].kind);
        if (row.watchedPlaces) row.watchedPlaces(rules[i], places);
        ofRules[i] = places.Take();
    }
    return ofRules;
}

WatchSet MergeWatchedPlaces(const std::vector<std::vector<platform::WatchedPlace>>& ofRules) {
    WatchSet set;
    std::map<std::string, std::size_t> indexOf;
    for (std::size_t rule = 0; rule < ofRules.size(); ++rule) {
        for (const platform::WatchedPlace& place : ofRules[rule]) {
            const std::string identity = std::to_string(static_cast<int>(place.kind)) + '|' +
                                         std::to_string(static_cast<int>(place.root)) + '|' +
                                         AsciiLower(place.path);
            const auto [found, added] = indexOf.try_emplace(identity, set.places.size());
            if (added) {
                set.places.push_back(place);
                set.rulesOf.emplace_back();
            } else {
                Widen(set.places[found->second], place);
            }
            std::vector<std::size_t>& rules = set.rulesOf[found->second];
            if (rules.empty() || rules.back() != rule) rules.push_back(rule);
        }
    }
    return set;
}

std::vector<platform::WatchedPlace> WatchedPlacesOf(platform::System& sys) {
    return MergeWatchedPlaces(WatchedPlacesOfRules(sys, ReadScanRules(sys))).places;
}

}  // namespace zorvik
