#include <string>
#include <utility>
#include <vector>

#include "core/report/AnsiUtf8.h"
#include "core/report/EvidenceReport.h"
#include "core/report/ReportWriters.h"
#include "core/report/ScanReport.h"
#include "core/report/VerdictReport.h"

namespace zorvik {

namespace {

constexpr const char* kCsvLineEnd = "\r\n";
constexpr std::size_t kStartupColumns = 3;

// One record of fields in UTF-8.
std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += CsvField(fields[i]);
    }
    return line + kCsvLineEnd;
}

std::vector<std::string> Utf8Fields(std::vector<std::string> fields) {
    for (std::string& field : fields) field = AnsiToUtf8(field);
    return fields;
}

std::vector<std::string> EntryFields(const ProcessRow& row, const ReportEntry& entry) {
    std::vector<std::string> fields = {row.caption, row.pid, row.details, entry.row.caption};
    for (std::size_t c = 0; c < kStartupColumns; ++c)
        fields.push_back(c < entry.row.data.size() ? entry.row.data[c] : "");
    fields.push_back(NotesText(entry.row.notes, "; "));
    fields.push_back(entry.row.disabled ? "true" : "false");
    fields.push_back(ApprovalCell(entry.approval));
    fields.push_back(SocketsCell(row.sockets));
    const std::vector<std::string> fileCells = FileCsvCells(row.file);
    fields.insert(fields.end(), fileCells.begin(), fileCells.end());
    fields = Utf8Fields(std::move(fields));
    fields.insert(fields.end(), {entry.key, entry.text, AnsiToUtf8(entry.row.module),
                                 AnsiToUtf8(entry.startsOther)});
    const std::vector<std::string> verdictCells = VerdictCsvCells(row.verdict);
    fields.insert(fields.end(), verdictCells.begin(), verdictCells.end());
    if (entry.change) fields.push_back(EntryChangeName(entry.change->change));
    return fields;
}

// A program without start-up entries still gets its line.
std::vector<std::string> ProgramFields(const ProcessRow& row) {
    std::vector<std::string> fields = {row.caption, row.pid, row.details, "", "", "", "", "", "",
                                       "", SocketsCell(row.sockets)};
    const std::vector<std::string> fileCells = FileCsvCells(row.file);
    fields.insert(fields.end(), fileCells.begin(), fileCells.end());
    fields.insert(fields.end(), {"", "", "", ""});
    fields = Utf8Fields(std::move(fields));
    const std::vector<std::string> verdictCells = VerdictCsvCells(row.verdict);
    fields.insert(fields.end(), verdictCells.begin(), verdictCells.end());
    return fields;
}

// An entry of the baseline that is gone, with what the baseline said of it.
std::vector<std::string> RemovedFields(const BaselineEntry& entry) {
    std::vector<std::string> fields = {entry.path, "", "", entry.type};
    for (std::size_t c = 0; c < kStartupColumns; ++c)
        fields.push_back(c < entry.data.size() ? entry.data[c] : "");
    fields.insert(fields.end(), {"", entry.disabled ? "true" : "false", "", ""});
    fields.resize(fields.size() + FileCsvHeads().size());
    fields.insert(fields.end(), {entry.key, entry.text, "", ""});
    fields.resize(fields.size() + VerdictCsvHeads().size());
    fields.push_back(EntryChangeName(EntryChange::Removed));
    return fields;
}

}  // namespace

std::string CsvReport(const ProcessList& list, const BaselineComparison* comparison) {
    std::vector<std::string> heads = {"Program Path", "PID", "Details", "Type", "Data 1",
                                      "Data 2", "Data 3", "Notes", "Disabled", "Approved",
                                      "Sockets"};
    for (const std::string& head : FileCsvHeads()) heads.push_back(head);
    heads.insert(heads.end(), {"Key", "Text", "Module", "Starts"});
    for (const std::string& head : VerdictCsvHeads()) heads.push_back(head);
    if (comparison) heads.push_back("Change");
    std::string out = CsvRecord(heads);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ProcessRow& row = list.At(i);
        const std::vector<ReportEntry> entries = ReportEntriesOf(row, comparison);
        if (!Listed(entries, comparison)) continue;
        if (entries.empty()) out += CsvRecord(ProgramFields(row));
        for (const ReportEntry& entry : entries) out += CsvRecord(EntryFields(row, entry));
    }
    if (comparison)
        for (const BaselineEntry* entry : comparison->Removed())
            out += CsvRecord(RemovedFields(*entry));
    return out;
}

}  // namespace zorvik
