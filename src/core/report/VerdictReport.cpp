#include "core/report/VerdictReport.h"

#include "core/report/AnsiUtf8.h"
#include "core/report/ScanReport.h"

namespace zorvik {

namespace {

// The reasons' texts come from the judging in ANSI, as every text of the scan does.
std::string Utf8Reason(const std::string& ansi) { return AnsiToUtf8(ansi); }

}  // namespace

std::string VerdictJson(const std::optional<Verdict>& verdict) {
    if (!verdict) return "null";
    std::string out = "{\"level\": " + JsonString(VerdictLevelName(verdict->level)) +
                      ", \"reasons\": [";
    for (std::size_t r = 0; r < verdict->reasons.size(); ++r) {
        const VerdictReason& reason = verdict->reasons[r];
        out += (r == 0 ? "" : ", ") + std::string("{\"code\": ") + JsonString(reason.code) +
               ", \"text\": " + JsonString(Utf8Reason(reason.text)) + "}";
    }
    return out + "]}";
}

std::string VerdictTextLines(const std::optional<Verdict>& verdict) {
    if (!verdict) return {};
    // Under the level, as far in as the values of the labels beside it.
    const std::string indent(11, ' ');
    std::string out = "  Verdict  " + std::string(VerdictLevelName(verdict->level)) + "\n";
    for (const VerdictReason& reason : verdict->reasons)
        out += indent + Utf8Reason(reason.text) + " (" + reason.code + ")\n";
    return out;
}

std::vector<std::string> VerdictCsvHeads() { return {"Verdict", "Reason Codes", "Reasons"}; }

std::vector<std::string> VerdictCsvCells(const std::optional<Verdict>& verdict) {
    if (!verdict) return {"", "", ""};
    std::string codes;
    for (const VerdictReason& reason : verdict->reasons)
        codes += (codes.empty() ? "" : ";") + reason.code;
    return {VerdictLevelName(verdict->level), codes,
            Utf8Reason(VerdictReasonsText(*verdict, "; "))};
}

}  // namespace zorvik
