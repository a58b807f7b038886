#include "platform/shared/PendingPlaceChanges.h"

#include <algorithm>

#include "platform/shared/WatchedPlacePaths.h"

namespace platform::shared {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

std::string PlaceIdentity(const WatchedPlace& place) {
    std::string path = place.path;
    if (place.kind == WatchedKind::RegistryKey) {
        if (!path.empty() && path[0] == '\\') path.erase(0, 1);
        while (!path.empty() && path.back() == '\\') path.pop_back();
    } else {
        path = FolderWithoutTrailingSeparator(path);
    }
    return std::to_string(static_cast<int>(place.kind)) + '|' +
           std::to_string(static_cast<int>(place.root)) + '|' + Lower(path);
}

void PendingPlaceChanges::SetPlaces(const std::vector<WatchedPlace>& places) {
    indexOf_.clear();
    for (std::size_t i = 0; i < places.size(); ++i) indexOf_.emplace(PlaceIdentity(places[i]), i);
}

bool PendingPlaceChanges::Add(const std::string& identity) {
    const bool first = !Pending();
    fired_.insert(identity);
    return first;
}

bool PendingPlaceChanges::AddUnplaced() {
    const bool first = !Pending();
    unplaced_ = true;
    return first;
}

PlaceChanges PendingPlaceChanges::Take() {
    PlaceChanges changes;
    changes.unplaced = unplaced_;
    for (const std::string& identity : fired_) {
        const auto found = indexOf_.find(identity);
        if (found == indexOf_.end()) {
            changes.unplaced = true;
        } else {
            changes.places.push_back(found->second);
        }
    }
    std::sort(changes.places.begin(), changes.places.end());
    changes.places.erase(std::unique(changes.places.begin(), changes.places.end()),
                         changes.places.end());
    fired_.clear();
    unplaced_ = false;
    return changes;
}

}  // namespace platform::shared
