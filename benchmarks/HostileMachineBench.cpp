// The cost of one scan of each hostile machine (see tests/unit/hostile/HostileMachines.h),
// side by side with the plain machine they are all built on.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchScan.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "unit/hostile/HostileMachines.h"

namespace {

using bench::EmptyTrustedList;
using bench::NoOptions;

// Each machine is built once; a scan changes nothing on it, so every iteration sees the same.
void ScanMachine(benchmark::State& state, void (*make)(hostile::SimSystem&)) {
    hostile::SimSystem sys;
    hostile::BaseMachine(sys);
    if (make) make(sys);
    const NoOptions options;
    const EmptyTrustedList trusted;
    for (auto _ : state) {
        zorvik::ProcessList list;
        std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
        zorvik::ScanCycle(sys, table.get(), options, trusted, list);
        benchmark::DoNotOptimize(list.Count());
    }
}

const bool kRegistered = [] {
    benchmark::RegisterBenchmark("HostileMachine/Plain", ScanMachine, nullptr)
        ->Unit(benchmark::kMillisecond);
    for (const hostile::HostileMachine& machine : hostile::HostileMachines()) {
        benchmark::RegisterBenchmark((std::string("HostileMachine/") + machine.name).c_str(),
                                     ScanMachine, machine.make)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
