#include <string>
#include <vector>

#include "core/engine/startup/StartupRows.h"
#include "core/report/AnsiUtf8.h"
#include "core/report/EvidenceReport.h"
#include "core/report/ReportWriters.h"
#include "core/report/VerdictReport.h"

namespace zorvik {

namespace {

// A label of the left column, as wide as "Details  ".
std::string Label(const std::string& word) {
    constexpr std::size_t kWidth = 9;
    return "  " + word + std::string(word.size() < kWidth ? kWidth - word.size() : 1, ' ');
}

std::string EntryLines(const ReportEntry& entry, bool withApproval) {
    std::string out = entry.change ? Label(EntryChangeName(entry.change->change)) : "  ";
    out += AnsiToUtf8(entry.line);
    if (!entry.startsOther.empty()) out += "  " + AnsiToUtf8(StartsOtherText(entry.startsOther));
    if (withApproval) out += "  [Task Manager: " + ApprovalText(entry.approval) + "]";
    out += "\n";
    if (!entry.change) return out;
    out += Label("Text") + entry.text + "\n";
    if (entry.before)
        for (const std::string& text : *entry.before) out += Label("Was") + text + "\n";
    return out;
}

// The baseline's entries that are gone, under the program each was listed with.
std::string RemovedLines(const BaselineComparison& comparison) {
    std::string out;
    const std::string* path = nullptr;
    for (const BaselineEntry* entry : comparison.Removed()) {
        if (!path || *path != entry->path) {
            if (path) out += "\n";
            path = &entry->path;
            out += entry->path + "\n";
        }
        out += Label(EntryChangeName(EntryChange::Removed)) + entry->type;
        for (const std::string& data : entry->data) out += "  " + data;
        out += std::string("  ") + (entry->disabled ? "disabled" : "enabled") + "\n";
        out += Label("Text") + entry->text + "\n";
    }
    return out.empty() ? out : out + "\n";
}

}  // namespace

std::string TextReport(const ProcessList& list, const BaselineComparison* comparison) {
    std::string out;
    std::size_t listed = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ProcessRow& row = list.At(i);
        const std::vector<ReportEntry> entries = ReportEntriesOf(row, comparison);
        if (!Listed(entries, comparison)) continue;
        ++listed;
        out += AnsiToUtf8(row.caption) + "\n";
        out += Label("PID") + AnsiToUtf8(row.pid) + "\n";
        out += Label("Details") + AnsiToUtf8(row.details) + "\n";
        out += VerdictTextLines(row.verdict);
        for (const ReportEntry& entry : entries)
            out += EntryLines(entry, !row.approvals.empty());
        for (const platform::TcpRow& socket : row.sockets)
            out += Label("Socket") + SocketSummary(socket) + "\n";
        out += FileTextLines(row.file);
        out += "\n";
    }
    if (comparison) {
        out += RemovedLines(*comparison);
        out += std::to_string(comparison->Count(EntryChange::Added)) + " added, " +
               std::to_string(comparison->Count(EntryChange::Changed)) + " changed, " +
               std::to_string(comparison->Count(EntryChange::Removed)) +
               " removed since the baseline.\n";
    } else if (listed == 0) {
        out += "No programs listed.\n";
    } else {
        out += std::to_string(listed) + (listed == 1 ? " program" : " programs") + " listed.\n";
    }
    return out;
}

}  // namespace zorvik
