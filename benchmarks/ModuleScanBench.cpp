// A scan that compares the modules of the programs with sockets (rules with Dlls=1) on a busy
// machine: 2,000 services (half of them DLLs in a shared svchost.exe, each with its Parameters
// key), 20,000 COM classes of the current user (each with its InprocServer32, every tenth with
// a LocalServer32), and 200 programs with sockets that have loaded 100 modules each: 90 of
// Windows' own from a pool of 300, 5 service DLLs, 5 of their own, every tenth program a DLL a
// COM class names. The rules shipped before the new places (0) and today's (1) scan the same
// machine side by side; scan_heap_KiB is the most heap one scan holds above what was held
// before it.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "HeapCounter.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/startup/StartupPlaces.h"
#include "platform/sim/system/SimFileFacts.h"
#include "platform/sim/system/SimSystem.h"

namespace {

using platform::RootKey;
using platform::sim::SimSystem;

constexpr int kServices = 2000;
constexpr int kClasses = 20000;
constexpr int kPrograms = 200;
constexpr int kSystemPool = 300;
constexpr int kSystemModules = 90;
constexpr int kServiceModules = 5;
constexpr int kOwnModules = 5;
const std::string kSystem32 = "C:\\WINDOWS\\system32\\";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class NoOptions : public zorvik::ScanOptions {
public:
    bool IgnoreSafe() const override { return false; }
};

class EmptyTrustedList : public zorvik::TrustedList {
public:
    std::size_t Count() const override { return 0; }
    std::string Entry(std::size_t) const override { return {}; }
    void Append(const std::string&) override {}
};

std::string FileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A file of the system folder whose version information gives its own name.
std::string SystemFile(SimSystem& sys, const std::string& name) {
    const std::string path = kSystem32 + name;
    sys.fs().AddFile(path, "MZ");
    platform::sim::ScriptedFileFacts facts;
    facts.version.emplace();
    facts.version->originalFilename = name;
    sys.facts().Script(path, facts);
    return path;
}

std::string ServiceDll(int service) { return "svc" + std::to_string(service) + ".dll"; }
std::string ClassDll(int c) {
    return "C:\\Users\\bob\\AppData\\Local\\lib" + std::to_string(c) + ".dll";
}

void PopulateServicesAndClasses(SimSystem& sys) {
    for (int s = 0; s < kServices; ++s) {
        const std::string key = "SYSTEM\\CurrentControlSet\\Services\\Service" + std::to_string(s);
        const bool shared = s % 2 == 0;
        sys.reg().PutString(RootKey::LocalMachine, key, "ImagePath",
                            shared ? kSystem32 + "svchost.exe -k group" + std::to_string(s % 40)
                                   : "C:\\Program Files\\Vendor\\svc" + std::to_string(s) + ".exe");
        sys.reg().Put(RootKey::LocalMachine, key, "Start", platform::RegType::Dword,
                      std::string{static_cast<char>(2 + s % 3), 0, 0, 0});
        sys.reg().PutString(RootKey::LocalMachine, key, "DisplayName",
                            "Service " + std::to_string(s));
        sys.reg().PutString(RootKey::LocalMachine, key, "Description",
                            std::string(200, 'd') + std::to_string(s));
        if (shared) {
            sys.reg().PutString(RootKey::LocalMachine, key + "\\Parameters", "ServiceDll",
                                SystemFile(sys, ServiceDll(s)));
        }
    }
    for (int c = 0; c < kClasses; ++c) {
        const std::string key = "Software\\Classes\\CLSID\\{" + std::to_string(10000000 + c) +
                                "-0000-0000-C000-000000000046}";
        sys.reg().PutString(RootKey::CurrentUser, key, "", "Class " + std::to_string(c));
        sys.reg().PutString(RootKey::CurrentUser, key + "\\InprocServer32", "", ClassDll(c));
        sys.reg().PutString(RootKey::CurrentUser, key + "\\InprocServer32", "ThreadingModel",
                            "Both");
        if (c % 10 == 0) {
            sys.reg().PutString(RootKey::CurrentUser, key + "\\LocalServer32", "",
                                "C:\\Program Files\\Vendor\\server" + std::to_string(c) + ".exe");
        }
    }
}

void PopulatePrograms(SimSystem& sys) {
    std::vector<std::string> pool;
    for (int k = 0; k < kSystemPool; ++k)
        pool.push_back(SystemFile(sys, "sysmod" + std::to_string(k) + ".dll"));
    for (int p = 0; p < kPrograms; ++p) {
        const std::string folder = "C:\\Programs\\prog" + std::to_string(p);
        platform::sim::SimProcess process;
        process.pid = static_cast<std::uint32_t>(1000 + 4 * p);
        process.parentPid = 4;
        process.imagePath = folder + ".exe";
        sys.fs().AddFile(process.imagePath, "MZ");
        for (int k = 0; k < kSystemModules; ++k)
            process.modules.push_back(pool[(p + 3 * k) % kSystemPool]);
        for (int k = 0; k < kServiceModules; ++k) {
            const int service = (p * kServiceModules + k) * 2 % kServices;
            process.modules.push_back(kSystem32 + ServiceDll(service));
        }
        for (int k = 0; k < kOwnModules; ++k) {
            // Every tenth program has a COM class's DLL loaded in place of its first own one.
            const bool classDll = k == 0 && p % 10 == 0;
            const std::string module =
                classDll ? ClassDll(p) : folder + "\\plug" + std::to_string(k) + ".dll";
            sys.fs().AddFile(module, "MZ");
            process.modules.push_back(module);
        }
        sys.procs().AddProcess(process);
        sys.procs().AddSocket(process.pid, platform::kTcpStateListen,
                              static_cast<std::uint16_t>(2000 + p));
        if (p % 10 == 5) {
            sys.reg().PutString(RootKey::CurrentUser, kRunKey, "Prog" + std::to_string(p),
                                process.imagePath);
        }
    }
}

void BM_ModuleMachineScan(benchmark::State& state) {
    const bool today = state.range(0) == 1;
    SimSystem sys;
    sys.fs().AddFile("C:\\Zorvik\\Scan.ini",
                     FileText(today ? ZORVIK_SHIPPED_RULES : ZORVIK_CLASSIC_RULES));
    sys.users().SetUsers({"alice", "bob", "carol"});
    PopulateServicesAndClasses(sys);
    PopulatePrograms(sys);
    const NoOptions options;
    const EmptyTrustedList trusted;
    const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);

    // One scan outside the timing, for what it holds at its peak and what it lists.
    std::size_t rows = 0;
    std::size_t peakBytes = 0;
    {
        const std::size_t before = heapcount::LiveBytes();
        heapcount::ResetPeak();
        zorvik::ProcessList list;
        zorvik::ScanCycle(sys, table.get(), options, trusted, list);
        rows = list.Count();
        peakBytes = heapcount::PeakBytes() - before;
    }
    for (auto _ : state) {
        zorvik::ProcessList list;
        zorvik::ScanCycle(sys, table.get(), options, trusted, list);
        benchmark::DoNotOptimize(list.Count());
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["texts"] = static_cast<double>(zorvik::ReadStartupPlaces(sys).texts.size());
    state.counters["scan_heap_KiB"] = static_cast<double>(peakBytes) / 1024.0;
}

}  // namespace

BENCHMARK(BM_ModuleMachineScan)->ArgName("today")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
