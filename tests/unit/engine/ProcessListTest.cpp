#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "core/engine/process/ProcessList.h"

namespace {

std::unique_ptr<zorvik::ProcInfo> InfoWithHit(const std::string& name) {
    auto info = std::make_unique<zorvik::ProcInfo>();
    info->RegList.push_back(zorvik::RegStart{"HKEY_CURRENT_USER", "Run", name, false});
    return info;
}

TEST(ProcessListTest, RowsKeepInsertionOrderAndTheirFindings) {
    zorvik::ProcessList list;
    EXPECT_EQ(list.Add("C:\\b.exe", "20", "two", InfoWithHit("B")), 0u);
    EXPECT_EQ(list.Add("C:\\a.exe", "10", "one", InfoWithHit("A")), 1u);

    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(0).caption, "C:\\b.exe");
    EXPECT_EQ(list.At(0).pid, "20");
    EXPECT_EQ(list.At(0).data->RegList[0].Name, "B");
    EXPECT_EQ(list.At(1).details, "one");

    list.SetDetails(1, "changed");
    EXPECT_EQ(list.At(1).details, "changed");
    EXPECT_EQ(list.At(0).details, "two");
}

TEST(ProcessListTest, ClearRemovesEveryRow) {
    zorvik::ProcessList list;
    list.Add("C:\\a.exe", "1", "", InfoWithHit("A"));
    list.Add("C:\\b.exe", "2", "", InfoWithHit("B"));
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Add("C:\\c.exe", "3", "", InfoWithHit("C")), 0u);
    EXPECT_EQ(list.At(0).data->RegList[0].Name, "C");
}

TEST(ProcessListTest, IndexPastTheEndThrows) {
    zorvik::ProcessList list;
    EXPECT_THROW(list.At(0), std::out_of_range);
    EXPECT_THROW(list.SetDetails(0, "x"), std::out_of_range);
    list.Add("C:\\a.exe", "1", "", nullptr);
    EXPECT_NO_THROW(list.At(0));
    EXPECT_THROW(list.At(1), std::out_of_range);
}

}  // namespace
