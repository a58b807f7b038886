#include "zorvikc/ScanOutput.h"

#include <set>
#include <utility>

#include "core/engine/changes/StableKeys.h"
#include "core/engine/changes/StartupChanges.h"
#include "core/engine/process/ListedLevel.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/report/AnsiUtf8.h"

namespace zorvikc {

namespace {

// The entries added or changed of the programs the level left out are not told, nor counted;
// the entries removed stay, as they belong to no program listed now.
void KeepChangesOfListed(const zorvik::ProcessList& list,
                         zorvik::BaselineComparison& comparison) {
    std::set<std::string> listedKeys;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const zorvik::ProcessRow& row = list.At(i);
        if (!row.data) continue;
        zorvik::ForEachHit(*row.data, [&](zorvik::StartupHit hit) {
            // In UTF-8, as the comparison holds the keys.
            listedKeys.insert(zorvik::AnsiToUtf8(zorvik::StableKeyOf(*row.data, hit)));
        });
    }
    std::erase_if(comparison.changes, [&listedKeys](const zorvik::StartupChange& change) {
        return change.change != zorvik::EntryChange::Removed && !listedKeys.contains(change.key);
    });
}

}  // namespace

ScanOutput ReportScan(zorvik::ProcessList& list,
                      std::optional<std::vector<zorvik::BaselineEntry>> baseline,
                      std::optional<zorvik::VerdictLevel> level, zorvik::ReportFormat format) {
    std::optional<zorvik::BaselineComparison> comparison;
    if (baseline) comparison = zorvik::CompareWithBaseline(list, std::move(*baseline));
    if (level) {
        list.Retain(
            [&level](const zorvik::ProcessRow& row) { return zorvik::AtOrAbove(row, *level); });
        if (comparison) KeepChangesOfListed(list, *comparison);
    }
    ScanOutput output;
    if (!comparison) {
        output.report = zorvik::FormatScanReport(list, format);
        output.exitCode = list.Count() == 0 ? kExitNothingListed : kExitListed;
        return output;
    }
    output.report = zorvik::FormatChangesReport(list, *comparison, format);
    output.exitCode =
        zorvik::AnyAddedOrChanged(comparison->changes) ? kExitListed : kExitNothingListed;
    return output;
}

}  // namespace zorvikc
