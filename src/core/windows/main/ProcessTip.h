#pragma once
// The tip of a process row: what a user needs at a glance to tell a bot from a harmless
// program, its sockets, its publisher and the verdict on its signature.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileFacts.h"
#include "platform/Processes.h"
#include "platform/System.h"

namespace zorvik {

// At most this many sockets are named; the rest are counted.
inline constexpr std::size_t kMaxTipSockets = 8;

// Lines joined by CR LF: "Sockets:" with one line per socket (or "Sockets: none"),
// "Publisher: " the version resource's CompanyName ("unknown" without one), "Signature: " the
// verdict with its reason and signer ("unknown" where the system gives no file facts), then
// the start-up lines (HitTipLines: a service's start type).
std::string ProcessTipText(const std::vector<platform::TcpRow>& sockets,
                           const std::optional<platform::VersionStrings>& version,
                           const std::optional<platform::SignatureVerdict>& signature,
                           const std::vector<std::string>& startupLines = {});

// What the window keeps of each process row beside its findings, found by the row's data so
// that it follows the row wherever it stands: the process the row's menu acts on, and the
// evidence behind its tip (the sockets and start-up lines kept from the scan, the publisher
// and the signature read from the program file at the row's first tip only, as a scan reads
// no file facts for the window).
class ProcessTips {
public:
    void Clear() { entries_.clear(); }
    void Keep(const void* rowData, std::string path, std::optional<std::uint32_t> processId,
              std::vector<platform::TcpRow> sockets, std::vector<std::string> startupLines = {});
    // The tip of the row whose data is rowData; empty for a row kept by none.
    std::string TipOf(platform::System& sys, const void* rowData);
    // The process of the row whose data is rowData; none for a row that stands for no process
    // or is kept by none.
    std::optional<std::uint32_t> ProcessIdOf(const void* rowData) const;

private:
    struct Entry {
        const void* rowData = nullptr;
        std::string path;
        std::optional<std::uint32_t> processId;
        std::vector<platform::TcpRow> sockets;
        std::vector<std::string> startupLines;
        bool factsRead = false;
        std::optional<platform::VersionStrings> version;
        std::optional<platform::SignatureVerdict> signature;
    };
    std::vector<Entry> entries_;
};

}  // namespace zorvik
