#pragma once
// Which rows a view lists by their verdict: zorvikc scan --level and the main window's
// "Hide Windows' own and verified programs" ask the same question of a row.
#include <map>
#include <string>

#include "core/engine/process/ProcessList.h"
#include "core/engine/verdict/Verdict.h"

namespace zorvik {

// Whether the row's verdict is at or above level. A row not judged (no verdict) counts as at
// every level: what was not judged cannot be cleared.
bool AtOrAbove(const ProcessRow& row, VerdictLevel level);

// For each start-up entry of the judged rows, by its stable key (StableKeys.h): the highest
// level among the rows that hold it. What a watch tells beside an entry.
std::map<std::string, VerdictLevel> LevelsByEntry(const ProcessList& list);

// The level the main window lists from when Windows' own and verified programs are hidden.
inline constexpr VerdictLevel kShownWhenVouchedHidden = VerdictLevel::Unverified;

}  // namespace zorvik
