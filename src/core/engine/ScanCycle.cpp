#include "core/engine/ScanCycle.h"

#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/engine/modules/ModuleSearch.h"
#include "core/engine/modules/SystemFiles.h"
#include "core/engine/startup/ActiveSetup.h"
#include "core/engine/startup/kinds/ExeKind.h"
#include "core/engine/process/HijackTest.h"
#include "core/base/PathParts.h"
#include "core/engine/process/ProcessSnapshot.h"
#include "core/engine/startup/StartupPass.h"
#include "core/base/untFunc.h"
#include "core/engine/untScan.h"

namespace zorvik {

namespace {

bool IsExamined(std::uint32_t state) {
    return state == platform::kTcpStateListen || state == platform::kTcpStateEstab;
}

// A socket owner that passed the path and trust tests, waiting for the scan's start-up search.
struct ExaminedProgram {
    std::uint32_t pid;
    std::string path;
    ProgramNames names;
};

// The state of one cycle: what stays the same for every process it examines.
struct CycleContext {
    platform::System& sys;
    const ScanOptions& options;
    const TrustedList& trusted;
    ProcessList& list;
    const ProcessSnapshot* snapshot;
    // The processes to examine; null: every socket owner.
    const std::set<std::uint32_t>* chosen;
    // Filled before any costly step, so that a process passed over is not examined again.
    std::unordered_set<std::uint32_t> seenPids;
    // In table order; searched all together once the tables are walked.
    std::vector<ExaminedProgram> programs;
    // Every row of the tables by owner, kept so a listed program shows its sockets without
    // a second read of the tables.
    std::unordered_map<std::uint32_t, std::vector<platform::TcpRow>> socketsByPid;
};

void ExamineProcess(CycleContext& cycle, std::uint32_t pid) {
    std::string path = GetProcessPath(cycle.sys, pid);
    if (path.empty()) return;
    if (IsTrusted(cycle.trusted, path)) return;
    std::string shortPath = GetShortPath(cycle.sys, path);
    ProgramNames names{ProgramFileNameOf(path), ProgramFileNameOf(shortPath), path,
                       std::move(shortPath)};
    cycle.programs.push_back({pid, std::move(path), std::move(names)});
}

void ListProcess(CycleContext& cycle, const ExaminedProgram& program, StartupFindings& found) {
    const std::uint32_t pid = program.pid;
    const std::string& path = program.path;
    // An unreadable name is no program name: its hits for "Unknown" would list every start-up
    // that mentions the word. The hijack test still sees the process.
    if (path == kUnknownProcessPath) found = StartupFindings{};
    auto findings = std::make_unique<ProcInfo>(std::move(found.info));
    std::string details = kBotProcessDetails;
    const bool startsWithWindows = FinishStartups(cycle.options, found, details);
    JudgeExeHits(cycle.sys, path, *findings, details);
    std::optional<std::size_t> row;
    if (startsWithWindows) {
        // Added before the hijack test, so its findings are owned by the list from here on.
        row = cycle.list.AddProcess(path, pid, details, std::move(findings));
    }
    if (HijackTest(cycle.sys, cycle.snapshot, pid, details, path)) {
        if (row) {
            cycle.list.SetDetails(*row, details);
        } else {
            cycle.list.AddProcess(path, pid, details, std::move(findings));
        }
    }
}

void WalkRows(CycleContext& cycle, const std::vector<platform::TcpRow>& rows) {
    for (const platform::TcpRow& socket : rows) {
        if (cycle.chosen && !cycle.chosen->contains(socket.owningPid)) continue;
        cycle.socketsByPid[socket.owningPid].push_back(socket);
        if (!IsExamined(socket.state)) continue;
        if (!cycle.seenPids.insert(socket.owningPid).second) continue;
        ExamineProcess(cycle, socket.owningPid);
    }
}

void WalkTable(CycleContext& cycle, platform::TcpTable& table, platform::AddressFamily family) {
    // A system that gives no table although it has the function adds no rows from it.
    const std::optional<std::vector<platform::TcpRow>> rows = table.Rows(family);
    if (rows) WalkRows(cycle, *rows);
}

// Gives the rows the walk added, from firstRow on, their process's sockets.
void AttachSockets(CycleContext& cycle, std::size_t firstRow) {
    for (std::size_t i = firstRow; i < cycle.list.Count(); ++i) {
        ProcessRow& row = cycle.list.At(i);
        if (!row.processId) continue;
        const auto found = cycle.socketsByPid.find(*row.processId);
        if (found != cycle.socketsByPid.end()) row.sockets = found->second;
    }
}

// Searches the places for the walked programs and the stubs in one pass and lists the
// programs; returns the stubs' findings, in their order.
std::vector<StartupFindings> ListExamined(CycleContext& cycle, const StartupPlaces& places,
                                          const std::vector<ActiveSetupStub>& stubs) {
    platform::System& sys = cycle.sys;
    std::vector<ProgramNames> names;
    std::vector<std::uint32_t> pids;
    for (const ExaminedProgram& program : cycle.programs) {
        names.push_back(program.names);
        pids.push_back(program.pid);
    }
    for (const ActiveSetupStub& stub : stubs) names.push_back(stub.names);
    // The module step: the socket owners' modules, only when a rule compares them. The
    // stubs are no processes and have none.
    ModuleSearch modules;
    SystemModuleTest systemModules(sys);
    if (ComparesModules(places)) {
        modules.modules = ReadLoadedModules(sys, pids);
        modules.modules.resize(names.size());
        modules.isSystemOwn = [&](const std::string& path) {
            return systemModules.IsSystemOwn(path);
        };
    }
    std::vector<StartupFindings> found = SearchStartups(places, names, &modules);
    for (std::size_t i = 0; i < cycle.programs.size(); ++i)
        ListProcess(cycle, cycle.programs[i], found[i]);
    // What is left belongs to the stubs.
    found.erase(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(cycle.programs.size()));
    return found;
}

}  // namespace

std::unique_ptr<platform::TcpTable> LoadTcpTableEntry(platform::System& sys) {
    return sys.processes().LoadTcpTable();
}

ScanStatus ScanCycle(platform::System& sys, platform::TcpTable* tcpTableEntry,
                     const ScanOptions& options, const TrustedList& trusted, ProcessList& list,
                     PlaceEntries* entries) {
    if (!tcpTableEntry) return ScanStatus::NoTcpTable;

    // Every place is read once for the whole scan, not once per examined program.
    const StartupPlaces places = ReadStartupPlaces(sys);
    if (entries) *entries = EntriesOf(places);
    return ScanCycle(sys, tcpTableEntry, options, trusted, list, places);
}

ScanStatus ScanCycle(platform::System& sys, platform::TcpTable* tcpTableEntry,
                     const ScanOptions& options, const TrustedList& trusted, ProcessList& list,
                     const StartupPlaces& places) {
    if (!tcpTableEntry) return ScanStatus::NoTcpTable;
    std::vector<ActiveSetupStub> stubs;
    std::vector<StartupFindings> found;
    {
        // The snapshot lives for the walk only; the Active Setup check does not need it.
        const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys);
        CycleContext cycle{sys, options, trusted, list, snapshot ? &*snapshot : nullptr,
                           nullptr, {}, {}, {}};
        const std::size_t firstRow = list.Count();
        WalkTable(cycle, *tcpTableEntry, platform::AddressFamily::V4);
        // Servers on current systems often listen on one dual-stack IPv6 socket only, which
        // the IPv4 table never shows.
        if (tcpTableEntry->Supports(platform::AddressFamily::V6))
            WalkTable(cycle, *tcpTableEntry, platform::AddressFamily::V6);
        stubs = ListActiveSetupStubs(sys, trusted);
        found = ListExamined(cycle, places, stubs);
        AttachSockets(cycle, firstRow);
    }
    AddActiveSetupRows(sys, options, stubs, found, list);
    return ScanStatus::Done;
}

void ListChosenProcesses(platform::System& sys, const std::vector<platform::TcpRow>& sockets,
                         const std::set<std::uint32_t>& pids, const ScanOptions& options,
                         const TrustedList& trusted, ProcessList& list,
                         const StartupPlaces& places) {
    const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys);
    CycleContext cycle{sys, options, trusted, list, snapshot ? &*snapshot : nullptr, &pids,
                       {}, {}, {}};
    const std::size_t firstRow = list.Count();
    WalkRows(cycle, sockets);
    ListExamined(cycle, places, {});
    AttachSockets(cycle, firstRow);
}

}  // namespace zorvik
