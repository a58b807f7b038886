#pragma once
// The tip of a process row: what a user needs at a glance to tell a bot from a harmless
// program, its sockets, its publisher, the verdict on its signature and the scan's verdict on
// the program with its reasons.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/engine/verdict/Verdict.h"
#include "platform/FileFacts.h"
#include "platform/Processes.h"

namespace zorvik {

// What ends each line of a list's tip.
inline constexpr const char* kTipLineEnd = "\r\n";

// At most this many sockets are named; the rest are counted.
inline constexpr std::size_t kMaxTipSockets = 8;

// Lines joined by CR LF: "Sockets:" with one line per socket (or "Sockets: none"),
// "Publisher: " the version resource's CompanyName ("unknown" without one), "Signature: " the
// verdict with its reason and signer ("unknown" where the system gives no file facts), then
// the start-up lines (HitTipLines: a service's start type, the modules hits were found
// through), then "Verdict: " the level with one line per reason (nothing when not judged).
std::string ProcessTipText(const std::vector<platform::TcpRow>& sockets,
                           const std::optional<platform::VersionStrings>& version,
                           const std::optional<platform::SignatureVerdict>& signature,
                           const std::vector<std::string>& startupLines = {},
                           const std::optional<Verdict>& verdict = std::nullopt);

// What the window keeps of each process row beside its findings, found by the row's data so
// that it follows the row wherever it stands: the process the row's menu acts on, the
// evidence behind its tip (the sockets, start-up lines, file facts and verdict of the scan),
// the verdict its colour is drawn by, and the other files its entries start.
class ProcessTips {
public:
    void Clear() { entries_.clear(); }
    // Takes what it keeps out of row (its sockets and the rest), which is then shown.
    void Keep(const void* rowData, ProcessRow& row, std::vector<std::string> startupLines = {});
    // The tip of the row whose data is rowData; empty for a row kept by none.
    std::string TipOf(const void* rowData) const;
    // The process of the row whose data is rowData; none for a row that stands for no process
    // or is kept by none.
    std::optional<std::uint32_t> ProcessIdOf(const void* rowData) const;
    // The verdict on the row whose data is rowData; null when not judged or kept by none.
    const Verdict* VerdictOf(const void* rowData) const;
    // The other file the row's start-up hit at position hitRow (StartupRowsOf's order)
    // really starts; empty for none.
    std::string StartsOtherOf(const void* rowData, std::size_t hitRow) const;

private:
    struct Entry {
        const void* rowData = nullptr;
        std::optional<std::uint32_t> processId;
        std::vector<platform::TcpRow> sockets;
        std::vector<std::string> startupLines;
        std::optional<platform::VersionStrings> version;
        std::optional<platform::SignatureVerdict> signature;
        std::optional<Verdict> verdict;
        std::vector<std::string> startsOther;
    };
    const Entry* Find(const void* rowData) const;
    std::vector<Entry> entries_;
};

}  // namespace zorvik
