#include "core/report/ReportFile.h"

namespace zorvik {

std::string ReportFileBytes(const ProcessList& list, ReportFormat format) {
    const std::string report = FormatScanReport(list, format);
    if (format == ReportFormat::Csv) return report;
    std::string bytes;
    bytes.reserve(report.size() + report.size() / 32);
    for (char c : report) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

}  // namespace zorvik
