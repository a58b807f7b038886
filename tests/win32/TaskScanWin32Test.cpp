// Scheduled tasks on the real system: the test agent, a program owning sockets, started by a
// Task Scheduler 2.0 task and by an XP work item (the program in cmd.exe's arguments), is
// listed with both tasks, and each one's Disable holds at the next scan; and by a task only the
// registry's task cache holds, listed and marked so.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "contract/WineQuirks.h"
#include "ListedAgentScan.h"
#include "SavedRulesFile.h"
#include "RunningAgent.h"
#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/base/untFunc.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/untScan.h"
#include "platform/System.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/WindowsApi.h"
#include "unit/parse/TaskCacheBuilder.h"
#include "unit/parse/TaskFileBuilder.h"
#include "win32/ScheduledTaskRegistration.h"

namespace {

using zorvik::AsciiLower;
using zorvik::DisableResult;

class TaskScanWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        sys_ = platform::CreateSystem();
        const std::string pid = std::to_string(::GetCurrentProcessId());
        name_ = "ZorvikTaskScan-" + pid;
        dir_ = Files().TempDirectory() + name_;
        ASSERT_TRUE(Files().CreateDirectory(dir_)) << dir_;
        agentPath_ = dir_ + "\\zvktask" + pid + ".exe";
        const std::string source =
            zorvik::ProgramFolderOf(Files().OwnPath()) + "zorvik_test_agent.exe";
        ASSERT_TRUE(::CopyFileA(source.c_str(), agentPath_.c_str(), TRUE)) << source;
        windows_ = Files().WindowsDirectory();
        rules_.emplace(*sys_);
    }

    void TearDown() override {
        agent_.reset();
        if (!sys_) return;
        rules_.reset();
        if (!taskFile_.empty()) {
            Files().Delete(taskFile_);
            Files().RemoveDirectory(zorvik::ProgramFolderOf(taskFile_));
        }
        Files().Delete(agentPath_);
        Files().RemoveDirectory(dir_);
    }

    platform::Files& Files() { return sys_->files(); }

    // The two task rules of the shipped Scan.ini, for this system's Windows folder.
    void WriteTaskRules() {
        const std::string below = windows_.substr(zorvik::GetWindowsDrive(*sys_).size());
        ASSERT_TRUE(Files()
                        .WriteAll(rules_->Path(), "[Tasks]\r\nType=TASK\r\nPath=" + below +
                                                  "\\System32\\Tasks\r\n[Tasks XP]\r\nType=TASK\r\n"
                                                  "Path=" + below + "\\Tasks\r\n")
                        .ok);
    }

    bool Listed(const std::string& path) {
        for (const platform::ScheduledTask& task : sys_->tasks()->List())
            if (AsciiLower(task.path) == AsciiLower(path) && !task.actions.empty()) return true;
        return false;
    }

    void StartAgent() {
        agent_.emplace(agentPath_, name_ + "-ready");
        ASSERT_TRUE(agent_->Started()) << "the agent did not get its sockets up: " << agentPath_;
    }

    // The agent's start-up hits, once a scan lists it.
    std::optional<zorvik::ProcInfo> ScanForAgent() {
        std::unique_ptr<zorvik::ProcInfo> findings =
            wintest::FindingsOnceListed(*sys_, agentPath_);
        if (!findings) return std::nullopt;
        return std::move(*findings);
    }

    std::unique_ptr<platform::System> sys_;
    std::string name_, dir_, agentPath_, windows_, taskFile_;
    std::optional<wintest::SavedRulesFile> rules_;
    std::optional<wintest::RunningAgent> agent_;
};

TEST_F(TaskScanWin32Test, AgentStartedByTasksIsListedWithEachAndEachDisableHolds) {
    ASSERT_NE(sys_->tasks(), nullptr);
    WriteTaskRules();
    const std::string task = "\\" + name_ + "\\Agent";
    const std::string item = "\\" + name_ + ".job";
    const std::string cmd = windows_ + "\\system32\\cmd.exe";

    testsupport::RegisteredTasks tasks;
    const bool registered = tasks.Register(task, agentPath_, "/task");
    // Wine 8's Task Scheduler 2.0 lists no task and writes no actions into a registered task's
    // file: there the definition is written into System32\Tasks as Windows writes it (UTF-16
    // with a byte order mark, every setting named), and the task is known by its file alone.
    // (Wine reads a definition whose Settings do not name Enabled as disabled.)
    const bool listed = registered && Listed(task);
    if (!listed) {
        ASSERT_TRUE(contract::RunningUnderWine()) << "the Task Scheduler refused the task";
        const std::string folder = windows_ + "\\System32\\Tasks\\" + name_;
        Files().CreateDirectory(folder);
        taskFile_ = folder + "\\Agent";
        ASSERT_TRUE(Files()
                        .WriteAll(taskFile_, parse_test::TaskFileBytes(parse_test::TaskDefinitionText(
                                                 "<Enabled>true</Enabled>", agentPath_, "/task")))
                        .ok)
            << taskFile_;
    }
    testsupport::RegisteredWorkItems workItems;
    ASSERT_TRUE(workItems.Register(name_, cmd, "/c \"" + agentPath_ + "\" /job"));
    StartAgent();

    std::optional<zorvik::ProcInfo> found = ScanForAgent();
    ASSERT_TRUE(found) << "the agent was never listed";
    ASSERT_EQ(found->TaskList.size(), 2u);
    const zorvik::TaskStart& byTask = found->TaskList[0];
    const zorvik::TaskStart& byItem = found->TaskList[1];
    EXPECT_EQ(AsciiLower(byTask.Task), AsciiLower(task));
    EXPECT_EQ(AsciiLower(byTask.Command), AsciiLower(agentPath_ + " /task"));
    EXPECT_FALSE(byTask.Disabled);
    EXPECT_EQ(AsciiLower(byItem.Task), AsciiLower(item));
    EXPECT_EQ(AsciiLower(byItem.Command), AsciiLower(cmd + " /c \"" + agentPath_ + "\" /job"));
    EXPECT_EQ(AsciiLower(byItem.File), AsciiLower(windows_ + "\\Tasks\\" + name_ + ".job"));
    EXPECT_FALSE(byItem.Disabled);
    const std::vector<std::string> columns =
        zorvik::RowOf(zorvik::StartupKind::Task).columns(*found, 0);
    EXPECT_EQ(columns, (std::vector<std::string>{"\\" + name_, "Agent", byTask.Command}));

    // Through the Task Scheduler where it lists the task; else (Wine) through its file.
    EXPECT_EQ(zorvik::DisableStartup(*sys_, *found, {zorvik::StartupKind::Task, 0}, "").result,
              listed ? DisableResult::Disabled : DisableResult::TaskFileChanged);
    EXPECT_EQ(zorvik::DisableStartup(*sys_, *found, {zorvik::StartupKind::Task, 1}, "").result,
              DisableResult::Disabled);

    found = ScanForAgent();
    ASSERT_TRUE(found) << "the agent was no longer listed";
    ASSERT_EQ(found->TaskList.size(), 2u);
    EXPECT_TRUE(found->TaskList[0].Disabled) << found->TaskList[0].Task;
    EXPECT_TRUE(found->TaskList[1].Disabled) << found->TaskList[1].Task;
}

// A task left only in the registry's task cache (its file deleted, hidden from the scheduler's
// list) still runs: the agent it names is listed with it, marked as kept only there.
TEST_F(TaskScanWin32Test, AgentNamedByATaskOnlyTheRegistryCacheHoldsIsListedAndSaysSo) {
    const std::string below = windows_.substr(zorvik::GetWindowsDrive(*sys_).size());
    ASSERT_TRUE(Files()
                    .WriteAll(rules_->Path(), "[Tasks]\r\nType=TASK\r\nPath=" + below +
                                              "\\System32\\Tasks\r\nTaskCache=1\r\n")
                    .ok);
    // The cache is read only beside a task folder that can be read.
    const std::string tasksFolder = windows_ + "\\System32\\Tasks";
    const bool madeFolder = !zorvik::PathExists(*sys_, tasksFolder) && Files().CreateDirectory(tasksFolder);
    const std::string pid = std::to_string(::GetCurrentProcessId());
    const std::string id = "{5A0B1C2D-0000-4000-8000-" + std::string(12 - pid.size(), '0') + pid + "}";
    const std::string cache = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Schedule\\TaskCache";
    const std::string tree = cache + "\\Tree\\" + name_;
    const std::string entry = cache + "\\Tasks\\" + id;
    platform::Registry& reg = sys_->registry();
    {
        const platform::RegKey treeKey = platform::CreateKey(reg, platform::RootKey::LocalMachine, tree);
        const platform::RegKey taskKey = platform::CreateKey(reg, platform::RootKey::LocalMachine, entry);
        if (!treeKey || !taskKey) GTEST_SKIP() << "the task cache cannot be written";
        ASSERT_TRUE(reg.Set(treeKey.get(), "Id", {platform::RegType::Sz, id + '\0'}));
        ASSERT_TRUE(reg.Set(taskKey.get(), "Path", {platform::RegType::Sz, "\\" + name_ + '\0'}));
        ASSERT_TRUE(reg.Set(taskKey.get(), "Actions",
                            {platform::RegType::Binary,
                             parse_test::CachedActionsValue(parse_test::ExecAction(agentPath_, "/cached"))}));
    }
    StartAgent();

    std::optional<zorvik::ProcInfo> found = ScanForAgent();
    reg.DeleteTree(platform::RootKey::LocalMachine, tree);
    reg.DeleteTree(platform::RootKey::LocalMachine, entry);
    if (madeFolder) Files().RemoveDirectory(tasksFolder);

    ASSERT_TRUE(found) << "the agent was never listed";
    ASSERT_EQ(found->TaskList.size(), 1u);
    EXPECT_EQ(found->TaskList[0].Task, "\\" + name_);
    EXPECT_EQ(found->TaskList[0].CacheKey, "HKEY_LOCAL_MACHINE\\" + entry);
    EXPECT_EQ(AsciiLower(found->TaskList[0].Command), AsciiLower(agentPath_ + " /cached"));
    const std::vector<std::string> tips = zorvik::HitTipLines(*found);
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_NE(tips[0].find("kept only in the registry's task cache"), std::string::npos) << tips[0];
}

}  // namespace
