#include "core/report/ReportEntries.h"

#include <algorithm>
#include <utility>

#include "core/engine/changes/StableKeys.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/report/AnsiUtf8.h"
#include "core/report/StartupReport.h"

namespace zorvik {

namespace {

// The entries of every row in UTF-8, as a report writes them, so that they compare with a
// report's own.
StartupEntries EntriesOf(const ProcessList& list) {
    StartupEntries entries;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ProcessRow& row = list.At(i);
        if (!row.data) continue;
        ForEachHit(*row.data, [&](StartupHit hit) {
            entries[AnsiToUtf8(StableKeyOf(*row.data, hit))].insert(
                AnsiToUtf8(HitTextOf(*row.data, hit)));
        });
    }
    return entries;
}

}  // namespace

std::vector<const BaselineEntry*> BaselineComparison::Removed() const {
    std::vector<const BaselineEntry*> removed;
    for (const BaselineEntry& entry : baseline) {
        const StartupChange* change = FindChange(changes, entry.key);
        if (change && change->change == EntryChange::Removed) removed.push_back(&entry);
    }
    return removed;
}

std::size_t BaselineComparison::Count(EntryChange change) const {
    return static_cast<std::size_t>(
        std::count_if(changes.begin(), changes.end(),
                      [&](const StartupChange& c) { return c.change == change; }));
}

BaselineComparison CompareWithBaseline(const ProcessList& list,
                                       std::vector<BaselineEntry> baseline) {
    BaselineComparison comparison;
    comparison.baseline = std::move(baseline);
    for (const BaselineEntry& entry : comparison.baseline)
        comparison.before[entry.key].insert(entry.text);
    comparison.changes = CompareStartupEntries(comparison.before, EntriesOf(list));
    return comparison;
}

std::vector<ReportEntry> ReportEntriesOf(const ProcessRow& row,
                                         const BaselineComparison* comparison) {
    std::vector<ReportEntry> entries;
    if (!row.data) return entries;
    const ProcInfo& findings = *row.data;
    const std::vector<StartupRow> rows = StartupRowsOf(findings);
    const std::vector<std::string> lines = DescribeHits(findings);
    for (std::size_t h = 0; h < rows.size(); ++h) {
        const StartupHit hit{rows[h].kind, rows[h].index};
        ReportEntry entry{rows[h], lines.at(h), ApprovalAt(row.approvals, h),
                          AnsiToUtf8(StableKeyOf(findings, hit)),
                          AnsiToUtf8(HitTextOf(findings, hit)),
                          h < row.startsOther.size() ? row.startsOther[h] : std::string()};
        if (comparison) {
            entry.change = FindChange(comparison->changes, entry.key);
            if (!entry.change) continue;
            if (entry.change->change == EntryChange::Changed)
                entry.before = &comparison->before.at(entry.key);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace zorvik
