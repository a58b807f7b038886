#include "core/windows/main/ProcessFilter.h"

#include "core/base/AsciiLower.h"
#include "core/engine/startup/StartupRows.h"

namespace zorvik {

std::string FilterTextsOf(const ProcessRow& row, const ProcInfo* findings) {
    std::string texts;
    auto add = [&texts](const std::string& text) {
        if (text.empty()) return;
        texts += AsciiLower(text);
        texts += '\n';
    };
    add(row.caption);
    if (row.verdict) {
        add(VerdictLevelName(row.verdict->level));
        for (const VerdictReason& reason : row.verdict->reasons) add(reason.text);
    }
    if (row.file) {
        add(row.file->signature.signer);
        if (row.file->version) add(row.file->version->companyName);
    }
    if (findings) {
        for (const StartupRow& hit : StartupRowsOf(*findings))
            for (const std::string& text : hit.data) add(text);
    }
    return texts;
}

bool FilterKeeps(const std::string& searched, const std::string& typed) {
    // A typed text holds no line end, so a match never spans two of the texts.
    return searched.find(AsciiLower(typed)) != std::string::npos;
}

std::string ShownOfAllText(std::size_t shown, std::size_t all) {
    return std::to_string(shown) + " of " + std::to_string(all) + " programs";
}

}  // namespace zorvik
