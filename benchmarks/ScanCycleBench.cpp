// The cost of one scan on the simulated system: 1 or 200 programs that own a socket, a rules
// file of 60 rules of every kind (one walking 500 subkeys of 10 values each) and 3 user
// accounts; the reading of the places alone; one scan with the shipped rules on a machine
// with 2,000 service subkeys (for its peak memory: run it alone under /usr/bin/time -v); and
// the rules shipped before MATCH and SVC beside today's on a machine of 2,000 services and
// 20,000 classes, its programs with or without 100 modules each; and on that machine a watch's
// answer to one changed Run value beside a full read of its places.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "BenchMachine.h"
#include "BenchScan.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/process/ProgramEvidence.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/TrustedList.h"
#include "core/engine/watch/EntryNews.h"
#include "core/engine/watch/PlaceEntries.h"
#include "core/engine/watch/StartupPicture.h"
#include "core/engine/watch/WatchedPlaces.h"
#include "HeapCounter.h"
#include "platform/sim/system/SimFileFacts.h"
#include "platform/sim/system/SimSystem.h"

namespace {

using platform::RootKey;

constexpr int kSubkeys = 500;
constexpr int kValuesPerSubkey = 10;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kServicesKey = "SYSTEM\\Bench\\Services";

using bench::EmptyTrustedList;
using bench::NoOptions;

std::string Section(int index, const std::string& body) {
    return "[Rule" + std::to_string(index) + "]\r\n" + body;
}

// 20 CHECK, 15 ENUM, 1 ENUM2, 10 INI, 7 FOL and 7 FIL rules.
std::string Rules() {
    std::string text;
    int index = 0;
    for (int i = 0; i < 20; ++i) {
        text += Section(index++, "Type=REG\r\nRoot=HKEY_LOCAL_MACHINE\r\nKey=" + kRunKey +
                                     "\r\nAction=CHECK\r\nName=Check" + std::to_string(i) + "\r\n");
    }
    for (int i = 0; i < 15; ++i) {
        const std::string root = i % 2 ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
        text += Section(index++, "Type=REG\r\nRoot=" + root + "\r\nKey=" + kRunKey + "\r\nAction=ENUM\r\n");
    }
    text += Section(index++, "Type=REG\r\nRoot=HKEY_LOCAL_MACHINE\r\nKey=" + kServicesKey +
                                 "\r\nAction=ENUM2\r\n");
    for (int i = 0; i < 10; ++i) {
        text += Section(index++, "Type=INI\r\nName=win.ini\r\nSection=windows\r\nIdent=load" +
                                     std::to_string(i) + "\r\n");
    }
    for (int i = 0; i < 7; ++i) {
        text += Section(index++, "Type=FOL\r\nPath=Documents and Settings\\*USER*\\Startup" +
                                     std::to_string(i) + "\r\n");
    }
    for (int i = 0; i < 7; ++i)
        text += Section(index++, "Type=FIL\r\nPath=batch" + std::to_string(i) + ".bat\r\n");
    return text;
}

// The modules of program p on the deep machine (PopulateDeepMachine): 90 of Windows' own from
// a pool of 300 in the system folder, 5 of the machine's service DLLs, 5 of its own, and for
// every tenth program the DLL of a class in place of its first own one.
std::vector<std::string> DeepMachineModules(platform::sim::SimSystem& sys, int p) {
    constexpr int kPool = 300;
    const std::string system32 = "C:\\WINDOWS\\system32\\";
    std::vector<std::string> modules;
    for (int k = 0; k < 90; ++k) {
        const std::string name = "sysmod" + std::to_string((p + 3 * k) % kPool) + ".dll";
        modules.push_back(system32 + name);
        if (sys.fs().Exists(modules.back())) continue;
        sys.fs().AddFile(modules.back(), "MZ");
        platform::sim::ScriptedFileFacts facts;
        facts.version.emplace();
        facts.version->originalFilename = name;
        sys.facts().Script(modules.back(), facts);
    }
    for (int k = 0; k < 5; ++k)
        modules.push_back(system32 + "svc" + std::to_string((p * 5 + k) * 2 % 2000) + ".dll");
    for (int k = 0; k < 5; ++k) {
        const bool classDll = k == 0 && p % 10 == 5;
        modules.push_back(classDll ? "C:\\Windows\\System32\\lib" + std::to_string(p) + ".dll"
                                   : "C:\\Programs\\prog" + std::to_string(p) + "\\plug" +
                                         std::to_string(k) + ".dll");
        sys.fs().AddFile(modules.back(), "MZ");
    }
    return modules;
}

void AddPrograms(platform::sim::SimSystem& sys, int processes, bool withModules = false) {
    if (!withModules) return bench::AddSocketOwners(sys, processes);
    bench::AddSocketOwners(sys, processes, [&sys](int p) { return DeepMachineModules(sys, p); });
}

void Populate(platform::sim::SimSystem& sys, int processes) {
    sys.fs().AddFile("C:\\Zorvik\\Scan.ini", Rules());
    sys.users().SetUsers({"alice", "bob", "carol"});

    for (int s = 0; s < kSubkeys; ++s) {
        const std::string key = kServicesKey + "\\Service" + std::to_string(s);
        for (int v = 0; v < kValuesPerSubkey; ++v) {
            sys.reg().PutString(RootKey::LocalMachine, key, "Value" + std::to_string(v),
                                "C:\\WINDOWS\\system32\\svc" + std::to_string(s) + ".dll");
        }
    }
    std::string winIni = "[windows]\r\n";
    for (int i = 0; i < 10; ++i) winIni += "load" + std::to_string(i) + "=C:\\Other\\x.exe\r\n";
    sys.fs().AddFile("C:\\WINDOWS\\win.ini", winIni);
    for (const char* user : {"alice", "bob", "carol"}) {
        for (int i = 0; i < 7; ++i) {
            const std::string folder = std::string("C:\\Documents and Settings\\") + user +
                                       "\\Startup" + std::to_string(i);
            for (int f = 0; f < 5; ++f)
                sys.fs().AddFile(folder + "\\entry" + std::to_string(f) + ".lnk", "L");
        }
    }
    for (int i = 0; i < 7; ++i) {
        std::string lines;
        for (int l = 0; l < 40; ++l) lines += "C:\\Tools\\tool" + std::to_string(l) + ".exe /q\r\n";
        sys.fs().AddFile("C:\\batch" + std::to_string(i) + ".bat", lines);
    }

    AddPrograms(sys, processes);
}

void RunScans(benchmark::State& state, platform::sim::SimSystem& sys, int processes) {
    bench::ScanEachIteration(state, sys);
    // Time per examined process: the rate of processes, inverted.
    state.counters["per_process"] = benchmark::Counter(
        processes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ScanCycle(benchmark::State& state) {
    const int processes = static_cast<int>(state.range(0));
    platform::sim::SimSystem sys;
    Populate(sys, processes);
    RunScans(state, sys, processes);
}

// The seconds of one scan of sys, then of the evidence and verdicts of its rows when asked
// (withCache: kept in cache between scans).
double ScanWithVerdictsSeconds(platform::sim::SimSystem& sys, platform::TcpTable* table,
                               bool verdicts, zorvik::VerdictCache* cache) {
    const NoOptions options;
    const EmptyTrustedList trusted;
    zorvik::ProcessList list;
    const auto start = std::chrono::steady_clock::now();
    zorvik::ScanCycle(sys, table, options, trusted, list);
    if (verdicts) zorvik::AddEvidence(sys, list, cache);
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    benchmark::DoNotOptimize(list.Count());
    return spent.count();
}

// BM_ScanCycle's machine scanned in turn without verdicts, with the evidence and verdicts of
// its listed rows, and with them through a cache that an earlier scan filled (the timer's and
// the watch's second scan): plain_ms, verdicts_ms, cached_ms, and their ratios to plain.
void BM_ScanCycleVerdicts(benchmark::State& state) {
    const int processes = static_cast<int>(state.range(0));
    platform::sim::SimSystem sys;
    Populate(sys, processes);
    // The listed programs signed, as most are, so that each verdict has a signer to read.
    for (int p = 0; p < processes; ++p) {
        platform::sim::ScriptedFileFacts facts;
        facts.sha256 = std::string(64, 'a');
        facts.version = platform::VersionStrings{"Vendor", "Program", "Program", "1.0", true,
                                                 "prog.exe"};
        facts.signature = {platform::SignatureState::Trusted, "", "Vendor"};
        sys.facts().Script(bench::ProgramPath(p), facts);
    }
    const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
    zorvik::VerdictCache cache;
    ScanWithVerdictsSeconds(sys, table.get(), true, &cache);
    double plain = 0;
    double verdicts = 0;
    double cached = 0;
    for (auto _ : state) {
        plain += ScanWithVerdictsSeconds(sys, table.get(), false, nullptr);
        verdicts += ScanWithVerdictsSeconds(sys, table.get(), true, nullptr);
        cached += ScanWithVerdictsSeconds(sys, table.get(), true, &cache);
    }
    const double scans = static_cast<double>(state.iterations());
    state.counters["plain_ms"] = plain / scans * 1000;
    state.counters["verdicts_ms"] = verdicts / scans * 1000;
    state.counters["cached_ms"] = cached / scans * 1000;
    state.counters["verdicts_ratio"] = verdicts / plain;
    state.counters["cached_ratio"] = cached / plain;
}

void BM_ReadStartupPlaces(benchmark::State& state) {
    platform::sim::SimSystem sys;
    Populate(sys, 0);
    std::size_t texts = 0;
    for (auto _ : state) {
        texts = zorvik::ReadStartupPlaces(sys).texts.size();
        benchmark::DoNotOptimize(texts);
    }
    state.counters["texts"] = static_cast<double>(texts);
}

// The shipped rules, from the source tree, on a machine with 2,000 service subkeys.
void BM_ShippedRulesScan(benchmark::State& state) {
    platform::sim::SimSystem sys;
    sys.fs().AddFile("C:\\Zorvik\\Scan.ini", bench::FileText(ZORVIK_SHIPPED_RULES));
    sys.users().SetUsers({"alice", "bob", "carol"});
    bench::AddSvchostServices(sys, 2000, 200);
    const int processes = static_cast<int>(state.range(0));
    AddPrograms(sys, processes);
    RunScans(state, sys, processes);
}

// A machine with many keys below keys: 2,000 services (half of them DLLs in a shared svchost,
// each with its Parameters key) and 20,000 classes, each with its InprocServer32 and every
// tenth with a LocalServer32: the machine's, where Windows keeps them (HKEY_CLASSES_ROOT\CLSID),
// or all of them the current user's, where the shipped rules walk every class up to their Limit.
void PopulateDeepMachine(platform::sim::SimSystem& sys, bool userClasses) {
    sys.users().SetUsers({"alice", "bob", "carol"});
    for (int s = 0; s < 2000; ++s) {
        const std::string key = "SYSTEM\\CurrentControlSet\\Services\\Service" + std::to_string(s);
        const bool shared = s % 2 == 0;
        sys.reg().PutString(RootKey::LocalMachine, key, "ImagePath",
                            shared ? "C:\\WINDOWS\\system32\\svchost.exe -k group" + std::to_string(s % 40)
                                   : "C:\\Program Files\\Vendor\\svc" + std::to_string(s) + ".exe");
        sys.reg().Put(RootKey::LocalMachine, key, "Start", platform::RegType::Dword,
                      std::string{static_cast<char>(2 + s % 3), 0, 0, 0});
        sys.reg().PutString(RootKey::LocalMachine, key, "DisplayName", "Service " + std::to_string(s));
        sys.reg().PutString(RootKey::LocalMachine, key, "Description",
                            std::string(200, 'd') + std::to_string(s));
        if (shared) {
            const std::string name = "svc" + std::to_string(s) + ".dll";
            sys.reg().PutString(RootKey::LocalMachine, key + "\\Parameters", "ServiceDll",
                                "C:\\WINDOWS\\system32\\" + name);
            // Windows' own, as a scan that compares modules sees it.
            sys.fs().AddFile("C:\\WINDOWS\\system32\\" + name, "MZ");
            platform::sim::ScriptedFileFacts facts;
            facts.version.emplace();
            facts.version->originalFilename = name;
            sys.facts().Script("C:\\WINDOWS\\system32\\" + name, facts);
        }
    }
    const RootKey classRoot = userClasses ? RootKey::CurrentUser : RootKey::ClassesRoot;
    const std::string classes = userClasses ? "Software\\Classes\\CLSID\\" : "CLSID\\";
    for (int c = 0; c < 20000; ++c) {
        const std::string key =
            classes + "{" + std::to_string(10000000 + c) + "-0000-0000-C000-000000000046}";
        sys.reg().PutString(classRoot, key, "", "Class " + std::to_string(c));
        sys.reg().PutString(classRoot, key + "\\InprocServer32", "",
                            "C:\\Windows\\System32\\lib" + std::to_string(c) + ".dll");
        sys.reg().PutString(classRoot, key + "\\InprocServer32", "ThreadingModel", "Both");
        if (c % 10 == 0) {
            sys.reg().PutString(classRoot, key + "\\LocalServer32", "",
                                "C:\\Program Files\\Vendor\\server" + std::to_string(c) + ".exe");
        }
    }
}

// What a scan holds of the places it read, strings and records.
std::size_t HeldBytes(const zorvik::StartupPlaces& places) {
    std::size_t bytes = places.spots.capacity() * sizeof(zorvik::StartupSpot) +
                        places.texts.capacity() * sizeof(zorvik::StartupText);
    for (const zorvik::StartupSpot& spot : places.spots)
        bytes += spot.where.capacity() + spot.key.capacity() + spot.ident.capacity();
    for (const zorvik::StartupText& text : places.texts)
        bytes += text.valueName.capacity() + text.lower.capacity();
    return bytes;
}

// The most heap one scan holds above what was held before it (HeapCounter.h).
std::size_t ScanHeapBytes(platform::sim::SimSystem& sys) {
    const NoOptions options;
    const EmptyTrustedList trusted;
    const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
    const std::size_t before = heapcount::LiveBytes();
    heapcount::ResetPeak();
    {
        zorvik::ProcessList list;
        zorvik::ScanCycle(sys, table.get(), options, trusted, list);
    }
    return heapcount::PeakBytes() - before;
}

// The same machine and 200 socket owners scanned with the rules shipped before MATCH, SVC and
// the DLL, EXE and WMI places (today:0) and with today's (today:1), side by side, the owners
// with 100 modules each (modules:1) or none (modules:0); texts and place_bytes: what the rules
// read of the places and the memory a scan holds for it; scan_heap_KiB: the most heap one scan
// holds in all.
void BM_DeepMachineScan(benchmark::State& state) {
    const bool today = state.range(0) == 1;
    platform::sim::SimSystem sys;
    sys.fs().AddFile("C:\\Zorvik\\Scan.ini",
                     bench::FileText(today ? ZORVIK_SHIPPED_RULES : ZORVIK_CLASSIC_RULES));
    PopulateDeepMachine(sys, state.range(1) == 1);
    constexpr int kProcesses = 200;
    AddPrograms(sys, kProcesses, state.range(2) == 1);
    const zorvik::StartupPlaces places = zorvik::ReadStartupPlaces(sys);
    state.counters["texts"] = static_cast<double>(places.texts.size());
    state.counters["place_bytes"] = static_cast<double>(HeldBytes(places));
    state.counters["scan_heap_KiB"] = static_cast<double>(ScanHeapBytes(sys)) / 1024.0;
    RunScans(state, sys, kProcesses);
}

// The same machine, its 200 socket owners with 100 modules each and its classes where Windows
// keeps them, scanned with the rules shipped before and with today's in turn in each
// iteration; ratio = today / before.
void BM_DeepMachineRatio(benchmark::State& state) {
    constexpr int kProcesses = 200;
    platform::sim::SimSystem before;
    before.fs().AddFile("C:\\Zorvik\\Scan.ini", bench::FileText(ZORVIK_CLASSIC_RULES));
    PopulateDeepMachine(before, false);
    AddPrograms(before, kProcesses, true);
    platform::sim::SimSystem today;
    today.fs().AddFile("C:\\Zorvik\\Scan.ini", bench::FileText(ZORVIK_SHIPPED_RULES));
    PopulateDeepMachine(today, false);
    AddPrograms(today, kProcesses, true);
    bench::ScanBothInTurn(state, before, "before", today, "today");
}

// The deep machine of BM_DeepMachineRatio with today's rules, watched: in each iteration one Run value changes and the
// watch answers it (answer_ms), then it changes again and the places are read as a watch read
// them after every change before it knew where a change was: every rule's places armed, read
// and compared with the last read (full_ms); ratio = answer / full.
void BM_WatchAnswerRatio(benchmark::State& state) {
    platform::sim::SimSystem sys;
    sys.fs().AddFile("C:\\Zorvik\\Scan.ini", bench::FileText(ZORVIK_SHIPPED_RULES));
    PopulateDeepMachine(sys, false);
    AddPrograms(sys, 200, true);
    const std::unique_ptr<platform::PlaceWatch> watch = sys.NewPlaceWatch();
    zorvik::StartupPicture picture;
    picture.ReadAll(sys, watch.get());
    // The watch as it was: its changes are never taken, only armed again.
    const std::unique_ptr<platform::PlaceWatch> everyPlace = sys.NewPlaceWatch();
    zorvik::PlaceEntries lastRead = zorvik::EntriesOf(zorvik::ReadStartupPlaces(sys));
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double> answering{0};
    std::chrono::duration<double> reading{0};
    std::size_t news = 0;
    int round = 0;
    for (auto _ : state) {
        const std::string command = "C:\\Tools\\agent" + std::to_string(++round) + ".exe";
        sys.reg().PutString(RootKey::CurrentUser, kRunKey, "Agent", command);
        auto start = Clock::now();
        news += picture.Answer(sys, *watch, watch->TakeChange()).size();
        answering += Clock::now() - start;

        sys.reg().PutString(RootKey::CurrentUser, kRunKey, "Agent", command + " /again");
        start = Clock::now();
        everyPlace->Watch(zorvik::WatchedPlacesOf(sys));
        zorvik::PlaceEntries entries = zorvik::EntriesOf(zorvik::ReadStartupPlaces(sys));
        news += zorvik::NewsBetween(lastRead, entries).size();
        lastRead = std::move(entries);
        reading += Clock::now() - start;
    }
    watch->TakeChange();
    const double rounds = static_cast<double>(state.iterations());
    state.counters["answer_ms"] = answering.count() / rounds * 1000;
    state.counters["full_ms"] = reading.count() / rounds * 1000;
    state.counters["ratio"] = answering.count() / reading.count();
    state.counters["news_per_change"] = static_cast<double>(news) / (2 * rounds);
}

}  // namespace

BENCHMARK(BM_ScanCycle)->Arg(1)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanCycleVerdicts)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadStartupPlaces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShippedRulesScan)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepMachineScan)
    ->ArgNames({"today", "userClasses", "modules"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepMachineRatio)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WatchAnswerRatio)->Unit(benchmark::kMillisecond);
