#pragma once
// The rows of a scan with their start-up entries, as the console tool prints them: plain text,
// CSV (RFC 4180) or JSON. Every text is converted from ANSI to UTF-8 (see AnsiUtf8.h).
#include <string>

#include "core/engine/process/ProcessList.h"

namespace zorvik {

enum class ReportFormat { Text, Csv, Json };

std::string FormatScanReport(const ProcessList& list, ReportFormat format);

// One CSV field: quoted (quotes doubled) when it holds a comma, a quote, a CR or an LF.
std::string CsvField(const std::string& text);

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(const std::string& utf8);

}  // namespace zorvik
