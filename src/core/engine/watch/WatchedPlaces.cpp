#include "core/engine/watch/WatchedPlaces.h"

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

namespace {

bool SamePlace(const platform::WatchedPlace& a, const platform::WatchedPlace& b) {
    return a.kind == b.kind && a.root == b.root && AsciiLower(a.path) == AsciiLower(b.path);
}

}  // namespace

void WatchedPlaceList::Add(const platform::WatchedPlace& place) {
    for (platform::WatchedPlace& known : places_) {
        if (!SamePlace(known, place)) continue;
        known.subtree = known.subtree || place.subtree;
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

std::vector<platform::WatchedPlace> WatchedPlacesOf(platform::System& sys) {
    WatchedPlaceList places(sys);
    for (const ScanRule& rule : ReadScanRules(sys)) {
        if (!rule.kind) continue;
        const StartupKindRow& row = RowOf(*rule.kind);
        if (row.watchedPlaces) row.watchedPlaces(rule, places);
    }
    return places.Take();
}

}  // namespace zorvik
