#pragma once
// The verdict on a listed program in the forms the scan report prints: a JSON object, the
// text report's lines and CSV cells. A row not judged gives JSON null and empty cells.
#include <optional>
#include <string>
#include <vector>

#include "core/engine/verdict/Verdict.h"

namespace zorvik {

// {"level": "suspicious", "reasons": [{"code": "user-folder", "text": "..."}, ...]} on one
// line, or null.
std::string VerdictJson(const std::optional<Verdict>& verdict);

// "  Verdict  suspicious" and one line per reason, "text (code)", under it; each line ends in
// LF. Nothing for a row not judged.
std::string VerdictTextLines(const std::optional<Verdict>& verdict);

// The cells under VerdictCsvHeads(): the level, the reasons' codes joined by ";" and their
// texts joined by "; ".
std::vector<std::string> VerdictCsvHeads();
std::vector<std::string> VerdictCsvCells(const std::optional<Verdict>& verdict);

}  // namespace zorvik
