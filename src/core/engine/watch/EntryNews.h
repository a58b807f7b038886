#pragma once
// What changed among the start-up entries from one read of the places to the next: each entry
// added, changed or removed, with what the user is told of it.
#include <set>
#include <string>
#include <vector>

#include "core/engine/changes/StartupChanges.h"
#include "core/engine/watch/PlaceEntries.h"

namespace zorvik {

// One entry added, changed or removed since the scan before.
struct EntryNews {
    EntryChange change = EntryChange::Added;
    std::string key;
    EntryFacts facts;  // as now; as last seen for a removed entry
    // The texts that make the news: all of an added entry's, those a changed entry gained
    // (those it kept when it only lost some), a removed entry's last ones.
    std::set<std::string> texts;

    // The first of texts, which the news is told by; empty when there is none.
    std::string Text() const { return texts.empty() ? std::string() : *texts.begin(); }
};

// Each entry added, changed or removed from before to after, in key order.
std::vector<EntryNews> NewsBetween(const PlaceEntries& before, const PlaceEntries& after);

}  // namespace zorvik
