#pragma once
// Reading CSV as RFC 4180 writes it: records end in CR LF, a quoted field doubles its quotes
// and may hold commas, quotes and line ends.
#include <optional>
#include <string>
#include <vector>

namespace fuzz {

using CsvRecord = std::vector<std::string>;

// nullopt when the text is not such CSV: a quote inside an unquoted field, text after a
// closing quote, an unclosed quote, a bare CR or LF outside quotes, or a last record
// without its CR LF.
std::optional<std::vector<CsvRecord>> ReadCsv(const std::string& text);

}  // namespace fuzz
