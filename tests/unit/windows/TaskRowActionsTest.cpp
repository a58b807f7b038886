// A scheduled task in the start-up list: its row, Show, and what Disable tells the user when
// the Task Scheduler takes the change, refuses it, or does not know the task (only its file).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/sim/autostart/SimTasks.h"
#include "unit/parse/TaskFileBuilder.h"
#include "unit/windows/MainWindowFixture.h"

namespace {

using maintest::Program;

const Program kAlpha{10, "C:\\Apps\\alpha.exe"};
const std::string kTaskFile = "C:\\WINDOWS\\System32\\Tasks\\Vendor\\Alpha";

platform::ScheduledTask ListedTask(const std::string& path) {
    platform::ScheduledTask task;
    task.path = path;
    task.name = path.substr(path.rfind('\\') + 1);
    task.jobFile = path.ends_with(".job");
    task.actions.push_back({kAlpha.path, "-q"});
    return task;
}

struct DisableCase {
    const char* what;
    std::function<void(platform::sim::SimSystem&)> arrange;
    std::string box;  // empty: none
    platform::Colour after;
};

void PrintTo(const DisableCase& c, std::ostream* os) { *os << c.what; }

class TaskRowTest : public maintest::MainWindowTest,
                    public ::testing::WithParamInterface<DisableCase> {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        sys.fs().AddFile(scantest::kRulesPath,
                         scantest::PathRule("Tasks", "TASK", "WINDOWS\\System32\\Tasks") +
                             scantest::PathRule("Tasks XP", "TASK", "WINDOWS\\Tasks"));
        Start(kAlpha);
    }
};

TEST_P(TaskRowTest, DisableSaysWhatBecameOfTheTask) {
    const DisableCase& c = GetParam();
    c.arrange(sys);
    Rescan();
    ShowStartups(kAlpha.path);
    ASSERT_EQ(StartupCaptions(), std::vector<std::string>{"TASK"});
    ASSERT_EQ(gui.DrawRows(frmMain.LstStart).at(0), platform::kRed);

    ChooseStartupCommand(0, frmMain.DisableStartup1);

    if (c.box.empty()) {
        EXPECT_EQ(BoxCount(), 0u);
    } else {
        ASSERT_EQ(BoxCount(), 1u);
        EXPECT_EQ(gui.MessageBoxes()[0].text, c.box);
    }
    EXPECT_EQ(gui.DrawRows(frmMain.LstStart).at(0), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TaskRowTest,
    ::testing::Values(
        DisableCase{"listed", [](platform::sim::SimSystem& sys) {
                        sys.taskScheduler().Register(ListedTask("\\Vendor\\Alpha"));
                    },
                    "", platform::kGreen},
        DisableCase{"refused",
                    [](platform::sim::SimSystem& sys) {
                        sys.taskScheduler().Register(ListedTask("\\Alpha.job"));
                        sys.taskScheduler().DenyChanges("\\Alpha.job");
                    },
                    "Unable to disable the scheduled task \\Alpha.job, the Task Scheduler "
                    "refused it. You may require administrator rights",
                    platform::kRed},
        DisableCase{"fileOnly",
                    [](platform::sim::SimSystem& sys) {
                        sys.fs().AddFile(kTaskFile, parse_test::TaskFileBytes(
                                                        parse_test::TaskDefinitionText(
                                                            "", kAlpha.path, "-q")));
                    },
                    "The Task Scheduler did not disable the task, so its file " + kTaskFile +
                        " now says it is disabled. A Task Scheduler that does not read the "
                        "file again may still run the task",
                    platform::kRed}),
    [](const ::testing::TestParamInfo<DisableCase>& info) { return info.param.what; });

}  // namespace
