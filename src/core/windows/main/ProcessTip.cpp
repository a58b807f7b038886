#include "core/windows/main/ProcessTip.h"

#include "core/base/SocketFormat.h"
#include "core/engine/process/ProgramFile.h"

namespace zorvik {

namespace {

constexpr const char* kTipLineEnd = "\r\n";
constexpr const char* kUnknown = "unknown";

}  // namespace

std::string ProcessTipText(const std::vector<platform::TcpRow>& sockets,
                           const std::optional<platform::VersionStrings>& version,
                           const std::optional<platform::SignatureVerdict>& signature,
                           const std::vector<std::string>& startupLines) {
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
    return text;
}

void ProcessTips::Keep(const void* rowData, std::string path,
                       std::optional<std::uint32_t> processId,
                       std::vector<platform::TcpRow> sockets,
                       std::vector<std::string> startupLines) {
    Entry kept;
    kept.rowData = rowData;
    kept.path = std::move(path);
    kept.processId = processId;
    kept.sockets = std::move(sockets);
    kept.startupLines = std::move(startupLines);
    // A row's data outlives no row, so an entry of the same data is one of a row gone.
    for (Entry& entry : entries_) {
        if (entry.rowData != rowData) continue;
        entry = std::move(kept);
        return;
    }
    entries_.push_back(std::move(kept));
}

std::optional<std::uint32_t> ProcessTips::ProcessIdOf(const void* rowData) const {
    for (const Entry& entry : entries_)
        if (rowData && entry.rowData == rowData) return entry.processId;
    return std::nullopt;
}

std::string ProcessTips::TipOf(platform::System& sys, const void* rowData) {
    for (Entry& entry : entries_) {
        if (!rowData || entry.rowData != rowData) continue;
        if (!entry.factsRead) {
            entry.factsRead = true;
            if (platform::FileFacts* facts = sys.fileFacts()) {
                entry.version = facts->Version(entry.path);
                // A file gone since the scan has no signature to judge.
                if (facts->Size(entry.path)) entry.signature = facts->Signature(entry.path);
            }
        }
        return ProcessTipText(entry.sockets, entry.version, entry.signature, entry.startupLines);
    }
    return {};
}

}  // namespace zorvik
