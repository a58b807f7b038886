#include "core/report/ScanReport.h"

#include <cstdio>

#include "core/report/ReportWriters.h"

namespace zorvik {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + '"';
}

namespace {

std::string FormatReport(const ProcessList& list, const BaselineComparison* comparison,
                         ReportFormat format) {
    switch (format) {
        case ReportFormat::Text: return TextReport(list, comparison);
        case ReportFormat::Csv: return CsvReport(list, comparison);
        case ReportFormat::Json: return JsonReport(list, comparison);
    }
    return {};
}

}  // namespace

std::string FormatScanReport(const ProcessList& list, ReportFormat format) {
    return FormatReport(list, nullptr, format);
}

std::string FormatChangesReport(const ProcessList& list, const BaselineComparison& comparison,
                                ReportFormat format) {
    return FormatReport(list, &comparison, format);
}

}  // namespace zorvik
