#pragma once
// The start-up entries of the scan before, and what each new scan changed among them. The
// first scan only sets the baseline: nothing is new to a program that has just started.
#include <optional>
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

class EntryHistory {
public:
    // What changed since the entries kept, which these then replace; none the first time.
    std::vector<EntryNews> Next(PlaceEntries entries);
    // Takes these as the entries kept, telling nothing: for changes the program made itself.
    void Keep(PlaceEntries entries) { previous_ = std::move(entries); }
    // No scan has set the baseline yet.
    bool Empty() const { return !previous_.has_value(); }

private:
    std::optional<PlaceEntries> previous_;
};

}  // namespace zorvik
