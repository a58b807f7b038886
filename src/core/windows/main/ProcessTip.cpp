#include "core/windows/main/ProcessTip.h"

#include "core/base/SocketFormat.h"
#include "core/engine/process/ProgramFile.h"

namespace zorvik {

namespace {

constexpr const char* kUnknown = "unknown";

}  // namespace

std::string ProcessTipText(const std::vector<platform::TcpRow>& sockets,
                           const std::optional<platform::VersionStrings>& version,
                           const std::optional<platform::SignatureVerdict>& signature,
                           const std::vector<std::string>& startupLines,
                           const std::optional<Verdict>& verdict) {
    std::string text = sockets.empty() ? "Sockets: none" : "Sockets:";
    for (std::size_t i = 0; i < sockets.size() && i < kMaxTipSockets; ++i)
        text += kTipLineEnd + std::string("  ") + SocketSummary(sockets[i]);
    if (sockets.size() > kMaxTipSockets)
        text += kTipLineEnd + std::string("  and ") + std::to_string(sockets.size() - kMaxTipSockets) +
                " more";

    const bool hasPublisher = version && !version->companyName.empty();
    text += kTipLineEnd + std::string("Publisher: ") + (hasPublisher ? version->companyName : kUnknown);

    text += kTipLineEnd + std::string("Signature: ");
    if (!signature) {
        text += kUnknown;
    } else {
        text += SignatureSummary(*signature);
        if (!signature->signer.empty()) text += ", by " + signature->signer;
    }
    for (const std::string& line : startupLines) text += kTipLineEnd + line;
    if (verdict) {
        text += kTipLineEnd + std::string("Verdict: ") + VerdictLevelName(verdict->level);
        for (const VerdictReason& reason : verdict->reasons)
            text += kTipLineEnd + std::string("  ") + reason.text;
    }
    return text;
}

void ProcessTips::Keep(const void* rowData, ProcessRow& row,
                       std::vector<std::string> startupLines) {
    Entry kept;
    kept.rowData = rowData;
    kept.processId = row.processId;
    kept.sockets = std::move(row.sockets);
    kept.startupLines = std::move(startupLines);
    if (row.file) {
        kept.version = row.file->version;
        // A file gone by the scan's end has no signature to judge.
        if (row.file->readable) kept.signature = row.file->signature;
    }
    kept.verdict = std::move(row.verdict);
    kept.startsOther = std::move(row.startsOther);
    // A row's data outlives no row, so an entry of the same data is one of a row gone.
    for (Entry& entry : entries_) {
        if (entry.rowData != rowData) continue;
        entry = std::move(kept);
        return;
    }
    entries_.push_back(std::move(kept));
}

const ProcessTips::Entry* ProcessTips::Find(const void* rowData) const {
    if (!rowData) return nullptr;
    for (const Entry& entry : entries_)
        if (entry.rowData == rowData) return &entry;
    return nullptr;
}

std::optional<std::uint32_t> ProcessTips::ProcessIdOf(const void* rowData) const {
    const Entry* entry = Find(rowData);
    return entry ? entry->processId : std::nullopt;
}

const Verdict* ProcessTips::VerdictOf(const void* rowData) const {
    const Entry* entry = Find(rowData);
    return entry && entry->verdict ? &*entry->verdict : nullptr;
}

std::string ProcessTips::StartsOtherOf(const void* rowData, std::size_t hitRow) const {
    const Entry* entry = Find(rowData);
    return entry && hitRow < entry->startsOther.size() ? entry->startsOther[hitRow]
                                                        : std::string();
}

std::string ProcessTips::TipOf(const void* rowData) const {
    const Entry* entry = Find(rowData);
    if (!entry) return {};
    return ProcessTipText(entry->sockets, entry->version, entry->signature, entry->startupLines,
                          entry->verdict);
}

}  // namespace zorvik
