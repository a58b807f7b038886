#pragma once
// The scan report as a file holds it: the bytes zorvikc scan's output gives when redirected to
// a file on Windows, so that a report saved from the window and one a script collects compare
// equal.
#include <string>

#include "core/engine/process/ProcessList.h"
#include "core/report/ScanReport.h"

namespace zorvik {

// FormatScanReport's report; the text and JSON reports with CR LF line ends, as the console's
// text mode writes them (the CSV report's lines end in CR LF already).
std::string ReportFileBytes(const ProcessList& list, ReportFormat format);

}  // namespace zorvik
