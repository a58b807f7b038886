#pragma once
// The rows of a scan with their start-up entries, as the console tool prints them: plain text,
// CSV (RFC 4180) or JSON. Every text is converted from ANSI to UTF-8 (see AnsiUtf8.h). Each
// entry of the CSV and JSON reports carries its stable key and text (StableKeys.h); the JSON
// report's form is docs/help/report.schema.json.
#include <string>

#include "core/engine/process/ProcessList.h"
#include "core/report/ReportEntries.h"

namespace zorvik {

enum class ReportFormat { Text, Csv, Json };

std::string FormatScanReport(const ProcessList& list, ReportFormat format);

// The report of what changed since a baseline: the programs with entries added or changed,
// only those entries and each one's change, then the baseline's entries that are gone.
std::string FormatChangesReport(const ProcessList& list, const BaselineComparison& comparison,
                                ReportFormat format);

// One CSV field: quoted (quotes doubled) when it holds a comma, a quote, a CR or an LF.
std::string CsvField(const std::string& text);

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(const std::string& utf8);

}  // namespace zorvik
