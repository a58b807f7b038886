#pragma once
// An earlier `zorvikc scan --json` report, read back as the baseline of a scan: its start-up
// entries with their stable keys and texts. A file that is missing, unreadable, empty, cut
// short, not JSON, or JSON but no such report gives a message saying what is wrong, never
// entries, so a broken baseline is never taken for one with nothing in it.
#include <optional>
#include <string>
#include <vector>

#include "core/report/ReportEntries.h"
#include "platform/System.h"

namespace zorvik {

struct BaselineReading {
    std::optional<std::vector<BaselineEntry>> entries;
    std::string error;  // without entries: what is wrong, such as "not found"
};

// bytes: the report's text.
BaselineReading ReadBaselineReport(const std::string& bytes);

BaselineReading ReadBaselineFile(platform::System& sys, const std::string& path);

}  // namespace zorvik
