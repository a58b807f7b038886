#pragma once
// The start-up entries a report shows for each program: the start-up list's row with its line
// in words, Task Manager's verdict, and the entry's stable key and text in UTF-8. Against a
// baseline (an earlier report) only the entries added or changed since are shown, each with
// its change; the baseline's entries that are gone are told apart.
#include <set>
#include <string>
#include <vector>

#include "core/engine/changes/StartupChanges.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/startup/StartupApproval.h"
#include "core/engine/startup/StartupRows.h"

namespace zorvik {

// One start-up entry of an earlier report, as that report wrote it (UTF-8).
struct BaselineEntry {
    std::string path;  // the program it was listed under
    std::string type;
    std::vector<std::string> data;
    bool disabled = false;
    std::string key;
    std::string text;
};

// A scan's entries against a baseline's.
struct BaselineComparison {
    std::vector<BaselineEntry> baseline;  // in the baseline report's order
    StartupEntries before;                // the baseline's, by key
    std::vector<StartupChange> changes;   // in key order

    // The baseline's entries whose keys the scan no longer has, in the baseline's order.
    std::vector<const BaselineEntry*> Removed() const;
    // How many keys were so changed.
    std::size_t Count(EntryChange change) const;
};

BaselineComparison CompareWithBaseline(const ProcessList& list,
                                       std::vector<BaselineEntry> baseline);

struct ReportEntry {
    StartupRow row;
    std::string line;  // the entry in words (StartupReport.h), ANSI
    StartupApproval approval = StartupApproval::Unknown;
    std::string key;   // UTF-8
    std::string text;  // UTF-8
    // The other file the entry really starts (ProcessRow::startsOther), ANSI; empty for none.
    std::string startsOther;
    // Against a baseline: the entry's change (added or changed), and for a changed entry the
    // texts the baseline had under its key. Null otherwise.
    const StartupChange* change = nullptr;
    const std::set<std::string>* before = nullptr;
};

// The entries of one program the report shows: all of them, or against a baseline
// (comparison not null) those added or changed since, in the order of the start-up list.
std::vector<ReportEntry> ReportEntriesOf(const ProcessRow& row,
                                         const BaselineComparison* comparison);

}  // namespace zorvik
