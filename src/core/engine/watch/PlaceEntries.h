#pragma once
// Every start-up entry the places gave in one scan, whatever program it names and whether or
// not that program runs or owns a socket: what a watch compares from one scan to the next, so
// that a Run value naming a program that has not started yet is noticed too. Entries are told
// apart by their stable keys (StableKeys.h).
#include <map>
#include <string>

#include "core/engine/changes/StartupChanges.h"
#include "core/engine/startup/StartupKind.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/untRecord.h"

namespace zorvik {

// What the user is told of one entry besides its texts.
struct EntryFacts {
    std::string kind;  // the kind's name: "REG", "FOL", ...
    EntryPlace where;
};

struct PlaceEntries {
    StartupEntries texts;                     // stable key -> the texts found there
    std::map<std::string, EntryFacts> facts;  // stable key -> where it is
};

// The entries of every text the places hold.
PlaceEntries EntriesOf(const StartupPlaces& places);

// The place and name of a hit, as its kind's row gives them.
EntryPlace EntryPlaceOf(const ProcInfo& findings, StartupHit hit);

}  // namespace zorvik
