#include "core/engine/changes/StartupChanges.h"

#include <algorithm>

namespace zorvik {

const char* EntryChangeName(EntryChange change) {
    switch (change) {
        case EntryChange::Added: return "added";
        case EntryChange::Changed: return "changed";
        case EntryChange::Removed: break;
    }
    return "removed";
}

std::vector<StartupChange> CompareStartupEntries(const StartupEntries& before,
                                                 const StartupEntries& after) {
    std::vector<StartupChange> changes;
    auto was = before.begin();
    auto is = after.begin();
    // Both maps are in key order: one walk over the two.
    while (was != before.end() || is != after.end()) {
        if (is == after.end() || (was != before.end() && was->first < is->first)) {
            changes.push_back({was->first, EntryChange::Removed});
            ++was;
        } else if (was == before.end() || is->first < was->first) {
            changes.push_back({is->first, EntryChange::Added});
            ++is;
        } else {
            if (was->second != is->second) changes.push_back({is->first, EntryChange::Changed});
            ++was;
            ++is;
        }
    }
    return changes;
}

const StartupChange* FindChange(const std::vector<StartupChange>& changes,
                                const std::string& key) {
    const auto found = std::lower_bound(
        changes.begin(), changes.end(), key,
        [](const StartupChange& change, const std::string& k) { return change.key < k; });
    return found != changes.end() && found->key == key ? &*found : nullptr;
}

bool AnyAddedOrChanged(const std::vector<StartupChange>& changes) {
    return std::any_of(changes.begin(), changes.end(), [](const StartupChange& change) {
        return change.change != EntryChange::Removed;
    });
}

}  // namespace zorvik
