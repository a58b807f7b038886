// What following shortcuts and scripts costs a scan: the shipped rules on a machine with 200
// socket owners, 3 accounts and 2,000 services (a tenth with unquoted paths under Program
// Files), once as it is and once with 200 shortcuts and 200 scripts in its start-up folders
// and Run values. BM_FollowedStartupsRatio scans both machines in turn and reports the
// ratio of their times; the two others time each alone.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "BenchMachine.h"
#include "BenchScan.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "platform/sim/system/SimSystem.h"
#include "unit/parse/ShellLinkBuilder.h"

namespace {

using platform::RootKey;

constexpr int kPrograms = 200;
constexpr int kServices = 2000;
constexpr int kShortcuts = 200;
constexpr int kScripts = 200;
constexpr int kScriptLines = 20;
const char* const kAccounts[] = {"alice", "bob", "carol"};


std::string StartupFolder(const std::string& account) {
    return "C:\\Users\\" + account +
           "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
}

std::string ScriptPath(int s) {
    return "C:\\Scripts\\job" + std::to_string(s) + (s % 2 ? ".bat" : ".vbs");
}

std::string ScriptText(int s) {
    std::string text = "@echo off\r\n";
    for (int l = 0; l < kScriptLines; ++l)
        text += "start \"\" C:\\Tools\\tool" + std::to_string(l) + ".exe /job " +
                std::to_string(s) + "\r\n";
    // Every tenth script starts one of the programs with sockets.
    if (s % 10 == 0) text += bench::ProgramPath((s + 5) % kPrograms) + "\r\n";
    return text;
}

// The machine both scans share.
void Populate(platform::sim::SimSystem& sys) {
    sys.fs().AddFile("C:\\Zorvik\\Scan.ini", bench::FileText(ZORVIK_SHIPPED_RULES));
    sys.users().SetUsers({kAccounts[0], kAccounts[1], kAccounts[2]});
    sys.env().Set("USERPROFILE", "C:\\Users\\bob");
    sys.env().Set("APPDATA", "C:\\Users\\bob\\AppData\\Roaming");
    const std::string moved = "%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
    sys.reg().Put(RootKey::CurrentUser,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                  "Startup", platform::RegType::ExpandSz, moved + '\0');
    for (const char* account : kAccounts) sys.fs().AddDirectory(StartupFolder(account));
    for (int s = 0; s < kServices; ++s) {
        const std::string key = "SYSTEM\\CurrentControlSet\\Services\\Service" + std::to_string(s);
        const std::string image =
            s % 10 == 0 ? "C:\\Program Files\\Vendor " + std::to_string(s) + "\\svc.exe -service"
                        : "C:\\WINDOWS\\system32\\svchost.exe -k group" + std::to_string(s);
        sys.reg().PutString(RootKey::LocalMachine, key, "ImagePath", image);
        sys.reg().PutString(RootKey::LocalMachine, key, "DisplayName",
                            "Service " + std::to_string(s));
    }
    bench::AddSocketOwners(sys, kPrograms);
}

// 200 shortcuts across the accounts' start-up folders, half of them to a script; 200 scripts:
// those, 50 named by Run values and 50 lying in the start-up folders.
void AddShortcutsAndScripts(platform::sim::SimSystem& sys) {
    for (int i = 0; i < kShortcuts; ++i) {
        const std::string folder = StartupFolder(kAccounts[i % 3]);
        parse_test::LinkParts link;
        if (i % 2 == 0) {
            link.WithLinkInfo(parse_test::BuildLinkInfo(ScriptPath(i / 2)));
        } else {
            const std::string agent = "C:\\Tools\\agent" + std::to_string(i) + ".exe";
            link.WithLinkInfo(parse_test::BuildLinkInfo(agent))
                .WithArguments("/background /id " + std::to_string(i));
        }
        sys.fs().AddFile(folder + "\\Shortcut " + std::to_string(i) + ".lnk",
                         parse_test::BuildShellLink(link));
    }
    for (int s = 0; s < kScripts; ++s) {
        if (s < 100) {
            sys.fs().AddFile(ScriptPath(s), ScriptText(s));
        } else if (s < 150) {
            sys.fs().AddFile(ScriptPath(s), ScriptText(s));
            sys.reg().PutString(RootKey::CurrentUser, bench::kRunKey, "Script" + std::to_string(s),
                                "wscript.exe //B \"" + ScriptPath(s) + "\"");
        } else {
            sys.fs().AddFile(StartupFolder(kAccounts[s % 3]) + "\\run" + std::to_string(s) + ".cmd",
                             ScriptText(s));
        }
    }
}

// Arg 0: the machine as it is; 1: with the shortcuts and scripts.
void BM_FollowedStartups(benchmark::State& state) {
    platform::sim::SimSystem sys;
    Populate(sys);
    if (state.range(0)) AddShortcutsAndScripts(sys);
    bench::ScanEachIteration(state, sys);
}

// Both machines scanned in turn in each iteration; ratio = with / without.
void BM_FollowedStartupsRatio(benchmark::State& state) {
    platform::sim::SimSystem plain;
    Populate(plain);
    platform::sim::SimSystem followed;
    Populate(followed);
    AddShortcutsAndScripts(followed);
    bench::ScanBothInTurn(state, plain, "without", followed, "with");
}

// The machine as it is, and with 1,000 scheduled tasks (in the Task Scheduler's list, as on
// Windows), the shortcuts and the scripts, scanned in turn in each iteration; ratio = with /
// without.
void BM_StartupFilesRatio(benchmark::State& state) {
    platform::sim::SimSystem plain;
    Populate(plain);
    platform::sim::SimSystem full;
    Populate(full);
    bench::AddScheduledTasks(full, true);
    AddShortcutsAndScripts(full);
    bench::ScanBothInTurn(state, plain, "without", full, "with");
}

}  // namespace

BENCHMARK(BM_FollowedStartups)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FollowedStartupsRatio)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupFilesRatio)->Unit(benchmark::kMillisecond);
