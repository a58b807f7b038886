#include "core/engine/ScanCycle.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/engine/HijackTest.h"
#include "core/base/PathParts.h"
#include "core/engine/ProcessSnapshot.h"
#include "core/base/untFunc.h"
#include "core/engine/untScan.h"

namespace zorvik {

namespace {

bool IsExamined(std::uint32_t state) {
    return state == platform::kTcpStateListen || state == platform::kTcpStateEstab;
}

// The state of one cycle: what stays the same for every process it examines.
struct CycleContext {
    platform::System& sys;
    const ScanOptions& options;
    const TrustedList& trusted;
    ProcessList& list;
    const ProcessSnapshot* snapshot;
    // Filled before any costly step, so that a process passed over is not examined again.
    std::unordered_set<std::uint32_t> seenPids;
};

void ExamineProcess(CycleContext& cycle, std::uint32_t pid) {
    const std::string path = GetProcessPath(cycle.sys, pid);
    if (path.empty()) return;
    if (IsTrusted(cycle.trusted, path)) return;

    auto findings = std::make_unique<ProcInfo>();
    std::string details = kBotProcessDetails;
    const std::string shortFileName = ProgramFileNameOf(GetShortPath(cycle.sys, path));
    // An unreadable name is no program name: searching for "Unknown" would list every start-up
    // that mentions the word. The hijack test still sees the process.
    const bool startsWithWindows = path != kUnknownProcessPath && FindStartups(cycle.sys, cycle.options, ProgramFileNameOf(path),
                                                shortFileName, *findings, details);
    std::optional<std::size_t> row;
    if (startsWithWindows) {
        // Added before the hijack test, so its findings are owned by the list from here on.
        row = cycle.list.Add(path, std::to_string(pid), details, std::move(findings));
    }
    if (HijackTest(cycle.sys, cycle.snapshot, pid, details, path)) {
        if (row) {
            cycle.list.SetDetails(*row, details);
        } else {
            cycle.list.Add(path, std::to_string(pid), details, std::move(findings));
        }
    }
}

void WalkTable(CycleContext& cycle, platform::TcpTable& table, platform::AddressFamily family) {
    // A system that gives no table although it has the function adds no rows from it.
    const std::optional<std::vector<platform::TcpRow>> rows = table.Rows(family);
    if (!rows) return;
    for (const platform::TcpRow& socket : *rows) {
        if (!IsExamined(socket.state)) continue;
        if (!cycle.seenPids.insert(socket.owningPid).second) continue;
        ExamineProcess(cycle, socket.owningPid);
    }
}

}  // namespace

std::unique_ptr<platform::TcpTable> LoadTcpTableEntry(platform::System& sys) {
    return sys.processes().LoadTcpTable();
}

ScanStatus ScanCycle(platform::System& sys, platform::TcpTable* tcpTableEntry,
                     const ScanOptions& options, const TrustedList& trusted, ProcessList& list) {
    if (!tcpTableEntry) return ScanStatus::NoTcpTable;

    {
        // The snapshot lives for the walk only; the Active Setup check does not need it.
        const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys);
        CycleContext cycle{sys, options, trusted, list, snapshot ? &*snapshot : nullptr, {}};
        WalkTable(cycle, *tcpTableEntry, platform::AddressFamily::V4);
        // Servers on current systems often listen on one dual-stack IPv6 socket only, which
        // the IPv4 table never shows.
        if (tcpTableEntry->Supports(platform::AddressFamily::V6))
            WalkTable(cycle, *tcpTableEntry, platform::AddressFamily::V6);
    }
    CheckActiveSetup(sys, options, trusted, list);
    return ScanStatus::Done;
}

}  // namespace zorvik
