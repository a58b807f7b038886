#include "zorvikc/ScanOutput.h"

#include <utility>

#include "core/engine/changes/StartupChanges.h"
#include "core/engine/process/ListedLevel.h"

namespace zorvikc {

namespace {

// Whether a program still listed has an entry added or changed.
bool AnyListedChange(const zorvik::ProcessList& list,
                     const zorvik::BaselineComparison& comparison) {
    for (std::size_t i = 0; i < list.Count(); ++i)
        if (!zorvik::ReportEntriesOf(list.At(i), &comparison).empty()) return true;
    return false;
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
    }
    ScanOutput output;
    if (!comparison) {
        output.report = zorvik::FormatScanReport(list, format);
        output.exitCode = list.Count() == 0 ? kExitNothingListed : kExitListed;
        return output;
    }
    output.report = zorvik::FormatChangesReport(list, *comparison, format);
    // Without a level every added or changed entry belongs to a listed program.
    const bool changed = level ? AnyListedChange(list, *comparison)
                               : zorvik::AnyAddedOrChanged(comparison->changes);
    output.exitCode = changed ? kExitListed : kExitNothingListed;
    return output;
}

}  // namespace zorvikc
