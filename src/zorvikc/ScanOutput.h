#pragma once
// What zorvikc scan prints for the rows of a scan with their evidence, and the exit code a
// script reads: whether anything was listed; against a baseline, whether any entry was added
// or changed since; at a level, counting only the programs at or above it, so that a fleet can
// alert on 1.
#include <optional>
#include <string>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/engine/verdict/Verdict.h"
#include "core/report/ReportEntries.h"
#include "core/report/ScanReport.h"

namespace zorvikc {

constexpr int kExitNothingListed = 0;
constexpr int kExitListed = 1;

struct ScanOutput {
    std::string report;
    int exitCode = kExitNothingListed;
};

// baseline: the entries of an earlier report, compared with every row before the level leaves
// any out (their entries are not gone). level: only the rows at or above it are reported;
// list keeps only those.
ScanOutput ReportScan(zorvik::ProcessList& list,
                      std::optional<std::vector<zorvik::BaselineEntry>> baseline,
                      std::optional<zorvik::VerdictLevel> level, zorvik::ReportFormat format);

}  // namespace zorvikc
