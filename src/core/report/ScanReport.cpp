#include "core/report/ScanReport.h"

#include <cstdio>
#include <vector>

#include "core/report/AnsiUtf8.h"
#include "core/report/EvidenceReport.h"
#include "core/report/StartupReport.h"
#include "core/engine/startup/StartupRows.h"

namespace zorvik {

namespace {

constexpr const char* kCsvLineEnd = "\r\n";
constexpr std::size_t kStartupColumns = 3;

const ProcInfo kNoFindings;

const ProcInfo& FindingsOf(const ProcessRow& row) { return row.data ? *row.data : kNoFindings; }

// A JSON number: "0" or an optional minus and digits without a leading zero. Any other pid text
// ("007", "-0", "") is written as a string, so the report always parses.
bool IsCanonicalInteger(const std::string& text) {
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    if (text[i] == '0') return i == 0 && text.size() == 1;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

std::string TextReport(const ProcessList& list) {
    std::string out;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ProcessRow& row = list.At(i);
        out += AnsiToUtf8(row.caption) + "\n";
        out += "  PID      " + AnsiToUtf8(row.pid) + "\n";
        out += "  Details  " + AnsiToUtf8(row.details) + "\n";
        const std::vector<std::string> described = DescribeHits(FindingsOf(row));
        for (std::size_t h = 0; h < described.size(); ++h) {
            out += "  " + AnsiToUtf8(described[h]);
            if (!row.approvals.empty())
                out += "  [Task Manager: " + ApprovalText(ApprovalAt(row.approvals, h)) + "]";
            out += "\n";
        }
        for (const platform::TcpRow& socket : row.sockets)
            out += "  Socket   " + SocketSummary(socket) + "\n";
        out += FileTextLines(row.file);
        out += "\n";
    }
    if (list.Count() == 0) {
        out += "No programs listed.\n";
    } else {
        out += std::to_string(list.Count()) + (list.Count() == 1 ? " program" : " programs") +
               " listed.\n";
    }
    return out;
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += CsvField(AnsiToUtf8(fields[i]));
    }
    return line + kCsvLineEnd;
}

std::string CsvReport(const ProcessList& list) {
    std::vector<std::string> heads = {"Program Path", "PID", "Details", "Type", "Data 1",
                                      "Data 2", "Data 3", "Notes", "Disabled", "Approved",
                                      "Sockets"};
    for (const std::string& head : FileCsvHeads()) heads.push_back(head);
    std::string out = CsvRecord(heads);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ProcessRow& row = list.At(i);
        const std::vector<StartupRow> hits = StartupRowsOf(FindingsOf(row));
        // A program without start-up entries still gets its line.
        const std::string sockets = SocketsCell(row.sockets);
        const std::vector<std::string> fileCells = FileCsvCells(row.file);
        if (hits.empty()) {
            std::vector<std::string> fields = {row.caption, row.pid, row.details, "", "", "", "",
                                               "", "", "", sockets};
            fields.insert(fields.end(), fileCells.begin(), fileCells.end());
            out += CsvRecord(fields);
        }
        for (std::size_t h = 0; h < hits.size(); ++h) {
            const StartupRow& hit = hits[h];
            std::vector<std::string> fields = {row.caption, row.pid, row.details, hit.caption};
            for (std::size_t c = 0; c < kStartupColumns; ++c)
                fields.push_back(c < hit.data.size() ? hit.data[c] : "");
            fields.push_back(NotesText(hit.notes, "; "));
            fields.push_back(hit.disabled ? "true" : "false");
            fields.push_back(ApprovalCell(ApprovalAt(row.approvals, h)));
            fields.push_back(sockets);
            fields.insert(fields.end(), fileCells.begin(), fileCells.end());
            out += CsvRecord(fields);
        }
    }
    return out;
}

std::string JsonReport(const ProcessList& list) {
    std::string out = "{\n  \"programs\": [";
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ProcessRow& row = list.At(i);
        out += i == 0 ? "\n" : ",\n";
        out += "    {\n";
        out += "      \"path\": " + JsonString(AnsiToUtf8(row.caption)) + ",\n";
        out += "      \"pid\": " +
               (IsCanonicalInteger(row.pid) ? row.pid : JsonString(AnsiToUtf8(row.pid))) + ",\n";
        out += "      \"details\": " + JsonString(AnsiToUtf8(row.details)) + ",\n";
        out += "      \"startups\": [";
        const std::vector<StartupRow> hits = StartupRowsOf(FindingsOf(row));
        for (std::size_t h = 0; h < hits.size(); ++h) {
            const StartupRow& hit = hits[h];
            out += h == 0 ? "\n" : ",\n";
            out += "        {\"type\": " + JsonString(hit.caption) + ", \"data\": [";
            for (std::size_t c = 0; c < hit.data.size(); ++c) {
                if (c > 0) out += ", ";
                out += JsonString(AnsiToUtf8(hit.data[c]));
            }
            out += "]";
            if (!hit.notes.empty()) {
                out += ", \"notes\": {";
                for (std::size_t n = 0; n < hit.notes.size(); ++n) {
                    if (n > 0) out += ", ";
                    out += JsonString(hit.notes[n].label) + ": " +
                           JsonString(AnsiToUtf8(hit.notes[n].text));
                }
                out += "}";
            }
            out += ", \"disabled\": ";
            out += hit.disabled ? "true" : "false";
            out += ", \"approved\": " + ApprovalJson(ApprovalAt(row.approvals, h));
            out += "}";
        }
        out += hits.empty() ? "],\n" : "\n      ],\n";
        out += "      \"sockets\": " + SocketsJson(row.sockets) + ",\n";
        out += "      \"file\": " + FileJson(row.file) + "\n";
        out += "    }";
    }
    out += list.Count() == 0 ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

}  // namespace

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

std::string FormatScanReport(const ProcessList& list, ReportFormat format) {
    switch (format) {
        case ReportFormat::Text: return TextReport(list);
        case ReportFormat::Csv: return CsvReport(list);
        case ReportFormat::Json: return JsonReport(list);
    }
    return {};
}

}  // namespace zorvik
