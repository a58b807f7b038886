#pragma once
// Programs for the scan and main-window tests: a running process with its program file, its
// sockets and its Run value, on the simulated system.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/system/SimSystem.h"
#include "unit/engine/ScanTestSupport.h"

namespace maintest {

using platform::sim::SimThread;

// A first thread stopped before it ran in user mode: with a second thread, a hijack sign.
inline constexpr SimThread kSuspendedAtStart{5, 5, 0};
inline constexpr SimThread kRunning{2, 0, 100};

inline const std::string kParentPath = "C:\\WINDOWS\\explorer.exe";
inline constexpr std::uint32_t kParentPid = 500;
inline const std::string kComponents = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";

struct Program {
    std::uint32_t pid = 0;
    std::string path;
    bool hijacked = false;
};

inline void AddProcess(platform::sim::SimSystem& sys, const Program& program) {
    sys.fs().AddFile(program.path, "MZ");
    platform::sim::SimProcess process;
    process.pid = program.pid;
    process.parentPid = kParentPid;
    process.imagePath = program.path;
    process.threads = program.hijacked ? std::vector<SimThread>{kSuspendedAtStart, kRunning}
                                       : std::vector<SimThread>{kRunning};
    sys.procs().AddProcess(process);
}

inline void AddParent(platform::sim::SimSystem& sys) {
    sys.fs().AddFile(kParentPath, "MZ");
    platform::sim::SimProcess parent;
    parent.pid = kParentPid;
    parent.parentPid = 4;
    parent.imagePath = kParentPath;
    sys.procs().AddProcess(parent);
}

inline void PutRun(platform::sim::SimSystem& sys, const std::string& name,
                   const std::string& command) {
    sys.reg().PutString(platform::RootKey::CurrentUser, scantest::kRunKey, name, command);
}

inline void PutStub(platform::sim::SimSystem& sys, const std::string& component,
                    const std::string& stub) {
    sys.reg().PutString(platform::RootKey::LocalMachine, kComponents + "\\" + component,
                        "StubPath", stub);
}

inline std::string Hijacked(const std::string& details) {
    return details + ", Started by: " + kParentPath + ", Probable High jacked Process";
}

}  // namespace maintest
