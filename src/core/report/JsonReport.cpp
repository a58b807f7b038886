#include <set>
#include <string>
#include <vector>

#include "core/report/AnsiUtf8.h"
#include "core/report/EvidenceReport.h"
#include "core/report/ReportWriters.h"
#include "core/report/ScanReport.h"
#include "core/report/VerdictReport.h"

namespace zorvik {

namespace {

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

// Texts in UTF-8 as a JSON array on one line.
template <typename Texts>
std::string JsonTexts(const Texts& texts) {
    std::string out = "[";
    for (const std::string& text : texts) out += (out.size() > 1 ? ", " : "") + JsonString(text);
    return out + "]";
}

std::vector<std::string> Utf8Texts(const std::vector<std::string>& ansi) {
    std::vector<std::string> texts;
    for (const std::string& text : ansi) texts.push_back(AnsiToUtf8(text));
    return texts;
}

// The notes of an entry found beyond its own text, by their labels; nothing for none.
std::string NotesJson(const std::vector<HitNote>& notes) {
    if (notes.empty()) return {};
    std::string out = ", \"notes\": {";
    for (std::size_t n = 0; n < notes.size(); ++n) {
        out += (n == 0 ? "" : ", ") + JsonString(notes[n].label) + ": " +
               JsonString(AnsiToUtf8(notes[n].text));
    }
    return out + "}";
}

std::string EntryJson(const ReportEntry& entry) {
    std::string out = "{\"type\": " + JsonString(entry.row.caption) +
                      ", \"data\": " + JsonTexts(Utf8Texts(entry.row.data)) +
                      NotesJson(entry.row.notes) +
                      ", \"disabled\": " + (entry.row.disabled ? "true" : "false") +
                      ", \"approved\": " + ApprovalJson(entry.approval) +
                      ", \"key\": " + JsonString(entry.key) +
                      ", \"text\": " + JsonString(entry.text);
    if (!entry.row.module.empty())
        out += ", \"module\": " + JsonString(AnsiToUtf8(entry.row.module));
    if (!entry.startsOther.empty())
        out += ", \"startsOther\": " + JsonString(AnsiToUtf8(entry.startsOther));
    if (entry.change) out += ", \"change\": " + JsonString(EntryChangeName(entry.change->change));
    if (entry.before) out += ", \"before\": " + JsonTexts(*entry.before);
    return out + "}";
}

std::string ProgramJson(const ProcessRow& row, const std::vector<ReportEntry>& entries) {
    std::string out = "    {\n";
    out += "      \"path\": " + JsonString(AnsiToUtf8(row.caption)) + ",\n";
    out += "      \"pid\": " +
           (IsCanonicalInteger(row.pid) ? row.pid : JsonString(AnsiToUtf8(row.pid))) + ",\n";
    out += "      \"details\": " + JsonString(AnsiToUtf8(row.details)) + ",\n";
    out += "      \"verdict\": " + VerdictJson(row.verdict) + ",\n";
    out += "      \"startups\": [";
    for (std::size_t h = 0; h < entries.size(); ++h)
        out += (h == 0 ? "\n        " : ",\n        ") + EntryJson(entries[h]);
    out += entries.empty() ? "],\n" : "\n      ],\n";
    out += "      \"sockets\": " + SocketsJson(row.sockets) + ",\n";
    out += "      \"file\": " + FileJson(row.file) + "\n";
    return out + "    }";
}

std::string RemovedJson(const BaselineEntry& entry) {
    return "    {\"path\": " + JsonString(entry.path) + ", \"type\": " + JsonString(entry.type) +
           ", \"data\": " + JsonTexts(entry.data) +
           ", \"disabled\": " + (entry.disabled ? "true" : "false") +
           ", \"key\": " + JsonString(entry.key) + ", \"text\": " + JsonString(entry.text) +
           ", \"change\": " + JsonString(EntryChangeName(EntryChange::Removed)) + "}";
}

}  // namespace

std::string JsonReport(const ProcessList& list, const BaselineComparison* comparison) {
    std::string out = "{\n  \"programs\": [";
    std::size_t listed = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ProcessRow& row = list.At(i);
        const std::vector<ReportEntry> entries = ReportEntriesOf(row, comparison);
        if (!Listed(entries, comparison)) continue;
        out += listed++ == 0 ? "\n" : ",\n";
        out += ProgramJson(row, entries);
    }
    out += listed == 0 ? "]" : "\n  ]";
    if (comparison) {
        const std::vector<const BaselineEntry*> removed = comparison->Removed();
        out += ",\n  \"removed\": [";
        for (std::size_t r = 0; r < removed.size(); ++r)
            out += (r == 0 ? "\n" : ",\n") + RemovedJson(*removed[r]);
        out += removed.empty() ? "]" : "\n  ]";
    }
    return out + "\n}\n";
}

}  // namespace zorvik
