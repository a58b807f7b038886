#pragma once
// The scan report's three forms, each written by one file: a plain scan (comparison null)
// or, against a baseline, only what changed since (ReportEntries.h).
#include <string>

#include "core/engine/process/ProcessList.h"
#include "core/report/ReportEntries.h"

namespace zorvik {

std::string TextReport(const ProcessList& list, const BaselineComparison* comparison);
std::string CsvReport(const ProcessList& list, const BaselineComparison* comparison);
std::string JsonReport(const ProcessList& list, const BaselineComparison* comparison);

// Against a baseline only the programs with entries to show are listed.
inline bool Listed(const std::vector<ReportEntry>& entries,
                   const BaselineComparison* comparison) {
    return !comparison || !entries.empty();
}

}  // namespace zorvik
