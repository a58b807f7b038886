// A scan of a hostile machine finishes, changes nothing the user had, closes every key and
// handle it opened, lets no error out, and still lists the clean program by its Run value.
#include <gtest/gtest.h>

#include <exception>
#include <memory>
#include <ostream>
#include <string>

#include "core/engine/process/ProcessList.h"
#include "core/engine/ScanCycle.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/hostile/HostileMachines.h"

namespace hostile {
// A failing case names its machine rather than printing the table entry's bytes.
void PrintTo(const HostileMachine& machine, std::ostream* out) { *out << machine.name; }
}  // namespace hostile

namespace {

using hostile::HostileMachine;

class HostileMachineTest : public ::testing::TestWithParam<HostileMachine> {};

TEST_P(HostileMachineTest, ScanFinishesAndLosesNothing) {
    platform::sim::SimSystem sys;
    hostile::BaseMachine(sys);
    GetParam().make(sys);
    const hostile::MachineImage before(sys);
    scantest::SwitchOptions options;
    scantest::VectorTrustedList trusted;
    zorvik::ProcessList list;

    std::string escaped;
    try {
        std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
        EXPECT_EQ(zorvik::ScanCycle(sys, table.get(), options, trusted, list),
                  zorvik::ScanStatus::Done);
    } catch (const std::exception& error) {
        escaped = error.what();
    } catch (...) {
        escaped = "an exception of unknown type";
    }

    EXPECT_EQ(escaped, "");
    EXPECT_TRUE(hostile::MachineImage(sys) == before);
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
    EXPECT_EQ(sys.procs().OpenHandleCount(), 0);
    EXPECT_EQ(sys.procs().LiveTcpTableCount(), 0);
    std::vector<std::string> cleanHits;
    bool cleanListed = false;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const zorvik::ProcessRow& row = list.At(i);
        if (row.caption != hostile::kCleanPath) continue;
        cleanListed = true;
        ASSERT_NE(row.data, nullptr);
        for (const auto& hit : row.data->RegList) cleanHits.push_back(hit.Name);
        EXPECT_EQ(row.details, scantest::Detected(1));
        EXPECT_TRUE(row.data->IniList.empty() && row.data->FolList.empty() &&
                    row.data->FilList.empty());
    }
    EXPECT_EQ(cleanListed, GetParam().cleanProgramFound);
    if (GetParam().cleanProgramFound) {
        EXPECT_EQ(cleanHits, std::vector<std::string>{hostile::kCleanRunName});
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, HostileMachineTest,
                         ::testing::ValuesIn(hostile::HostileMachines()),
                         [](const ::testing::TestParamInfo<HostileMachine>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
