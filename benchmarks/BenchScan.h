#pragma once
// What every scan benchmark runs a scan with: no options switched on, no trusted programs, and
// a scan timed on its own, for benchmarks that scan two machines in turn and give their ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/engine/ScanCycle.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/TrustedList.h"
#include "platform/sim/system/SimSystem.h"

namespace bench {

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

// The seconds one scan of sys takes.
inline double ScanSeconds(platform::sim::SimSystem& sys, platform::TcpTable* table) {
    const NoOptions options;
    const EmptyTrustedList trusted;
    zorvik::ProcessList list;
    const auto start = std::chrono::steady_clock::now();
    zorvik::ScanCycle(sys, table, options, trusted, list);
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    benchmark::DoNotOptimize(list.Count());
    return spent.count();
}

// Scans sys once in each iteration; counter rows: what the last scan listed.
inline void ScanEachIteration(benchmark::State& state, platform::sim::SimSystem& sys) {
    const NoOptions options;
    const EmptyTrustedList trusted;
    const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
    std::size_t rows = 0;
    for (auto _ : state) {
        zorvik::ProcessList list;
        zorvik::ScanCycle(sys, table.get(), options, trusted, list);
        rows = list.Count();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// Scans base and other in turn in each iteration, so that both see the same machine load;
// counters <baseName>_ms and <otherName>_ms per scan, and ratio = other / base.
inline void ScanBothInTurn(benchmark::State& state, platform::sim::SimSystem& base,
                           const std::string& baseName, platform::sim::SimSystem& other,
                           const std::string& otherName) {
    const std::unique_ptr<platform::TcpTable> baseTable = zorvik::LoadTcpTableEntry(base);
    const std::unique_ptr<platform::TcpTable> otherTable = zorvik::LoadTcpTableEntry(other);
    double baseSeconds = 0;
    double otherSeconds = 0;
    for (auto _ : state) {
        baseSeconds += ScanSeconds(base, baseTable.get());
        otherSeconds += ScanSeconds(other, otherTable.get());
    }
    const double scans = static_cast<double>(state.iterations());
    state.counters[baseName + "_ms"] = baseSeconds / scans * 1000;
    state.counters[otherName + "_ms"] = otherSeconds / scans * 1000;
    state.counters["ratio"] = otherSeconds / baseSeconds;
}

// The bytes of a file of the source tree, such as a rules file.
inline std::string FileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace bench
