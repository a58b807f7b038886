#pragma once
// What changed among the start-up entries between two scans, told by each entry's stable key
// (StableKeys.h) and its texts. Knows nothing of reports or windows: the console's baseline
// and the window's watch both ask it.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zorvik {

enum class EntryChange : std::uint8_t { Added, Changed, Removed };

// "added", "changed" or "removed": the word every report and watch line uses.
const char* EntryChangeName(EntryChange change);

// The entries of one scan: stable key -> the texts found under it. Mostly one; a text file
// gives one per line that names a program, and two rules reading one place give one twice.
using StartupEntries = std::map<std::string, std::set<std::string>>;

struct StartupChange {
    std::string key;
    EntryChange change = EntryChange::Added;
};

// Each key only in after (added), only in before (removed), or in both with other texts
// (changed); in key order.
std::vector<StartupChange> CompareStartupEntries(const StartupEntries& before,
                                                 const StartupEntries& after);

// The change of key among changes (in key order, as compared); null when it did not change.
const StartupChange* FindChange(const std::vector<StartupChange>& changes,
                                const std::string& key);

// Whether anything was added or changed: a detection. A removal alone is none.
bool AnyAddedOrChanged(const std::vector<StartupChange>& changes);

}  // namespace zorvik
