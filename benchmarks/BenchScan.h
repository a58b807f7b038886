#pragma once
// What every scan benchmark runs a scan with: no options switched on, no trusted programs, and
// a scan timed on its own, for benchmarks that scan two machines in turn and give their ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <fstream>
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

// The bytes of a file of the source tree, such as a rules file.
inline std::string FileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace bench
