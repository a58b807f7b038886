// The cost of the scheduled tasks in a scan: the shipped rules on a machine of 200 socket
// owners and 2,000 services, without tasks and with 1,000 (900 task definition files of a few
// KiB in nested folders and 100 XP .job files), side by side: each task also in the Task
// Scheduler's list, as an administrator sees them on Windows, or only in its file, as under
// Wine, whose Task Scheduler 2.0 lists none.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchMachine.h"
#include "BenchScan.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "platform/sim/system/SimSystem.h"

namespace {


constexpr int kProcesses = 200;


void AddMachine(platform::sim::SimSystem& sys) {
    sys.fs().AddFile("C:\\Zorvik\\Scan.ini", bench::FileText(ZORVIK_SHIPPED_RULES));
    sys.users().SetUsers({"alice", "bob", "carol"});
    bench::AddSvchostServices(sys, 2000);
    bench::AddSocketOwners(sys, kProcesses);
}

enum TaskArg { kNoTasks, kFilesAndList, kFilesOnly };

// The same machine without tasks (0), with them listed and in files (1), in files only (2).
void BM_ScheduledTasksScan(benchmark::State& state) {
    platform::sim::SimSystem sys;
    AddMachine(sys);
    if (state.range(0) != kNoTasks) bench::AddScheduledTasks(sys, state.range(0) == kFilesAndList);
    bench::ScanEachIteration(state, sys);
}

}  // namespace

BENCHMARK(BM_ScheduledTasksScan)->ArgName("tasks")->Arg(kNoTasks)->Arg(kFilesAndList)->Arg(kFilesOnly)->Unit(benchmark::kMillisecond);
