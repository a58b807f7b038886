// TASK rules on the simulated system: the tasks' files and the Task Scheduler's own list, each
// task once, and Disable through the scheduler or, failing that, the task's file.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/parse/TaskXml.h"
#include "platform/sim/autostart/SimTasks.h"
#include "unit/engine/ScanTestSupport.h"
#include "unit/parse/TaskCacheBuilder.h"
#include "unit/parse/TaskFileBuilder.h"

namespace {

using parse_test::JobBytes;
using parse_test::TaskDefinitionText;
using parse_test::TaskFileBytes;
using platform::ScheduledTask;
using platform::sim::SimSystem;
using scantest::Detected;
using zorvik::DisableResult;

const std::string kTaskFiles = "C:\\Windows\\System32\\Tasks";
const std::string kJobFiles = "C:\\Windows\\Tasks";
const std::string kRules = scantest::PathRule("Tasks", "TASK", "Windows\\System32\\Tasks") +
                           scantest::PathRule("Tasks XP", "TASK", "Windows\\Tasks");

std::string TaskFile(const std::string& settings, const std::string& command,
                     const std::string& arguments = "") {
    return TaskFileBytes(TaskDefinitionText(settings, command, arguments));
}

ScheduledTask Listed(const std::string& path, const std::string& command, bool enabled = true) {
    ScheduledTask task;
    task.path = path;
    task.name = path.substr(path.rfind('\\') + 1);
    task.enabled = enabled;
    task.jobFile = path.ends_with(".job");
    task.actions.push_back({command, ""});
    return task;
}

// A hit as the start-up list shows it (folder, name, command line), with its file and state.
struct TaskHit {
    std::vector<std::string> columns;
    std::string file;
    bool disabled;
    bool operator==(const TaskHit&) const = default;
};

void PrintTo(const TaskHit& hit, std::ostream* os) {
    for (const std::string& column : hit.columns) *os << column << " | ";
    *os << hit.file << (hit.disabled ? " disabled" : "");
}

std::vector<TaskHit> TaskHits(const zorvik::ProcInfo& info) {
    std::vector<TaskHit> hits;
    const zorvik::StartupKindRow& row = zorvik::RowOf(zorvik::StartupKind::Task);
    for (std::size_t i = 0; i < info.TaskList.size(); ++i)
        hits.push_back({row.columns(info, i), info.TaskList[i].File, info.TaskList[i].Disabled});
    return hits;
}

struct SearchCase {
    const char* what;
    std::function<void(SimSystem&)> arrange;
    std::vector<TaskHit> hits;
};

// The findings for prog.exe on a system with both task rules.
scantest::SearchResult Search(SimSystem& sys) {
    sys.fs().AddFile(scantest::kRulesPath, kRules);
    scantest::SwitchOptions options;
    scantest::SearchResult result;
    result.details = "Possible Bot Process, ";
    result.listed = zorvik::FindStartups(sys, options, "prog.exe", "", result.info, result.details);
    return result;
}

TEST(TaskRuleTest, FindsEachTaskRunningTheProgramOnce) {
    const std::string big = TaskFile("", "C:\\prog.exe") + std::string(1 << 20, ' ');
    const std::string whole = TaskFile("", "C:\\prog.exe");
    const SearchCase cases[] = {
        {"command only",
         [](SimSystem& sys) {
             sys.fs().AddFile(kTaskFiles + "\\Updater", TaskFile("", "C:\\Users\\x\\Prog.exe"));
             sys.fs().AddFile(kTaskFiles + "\\Other", TaskFile("", "C:\\other.exe"));
         },
         {{{"\\", "Updater", "C:\\Users\\x\\Prog.exe"}, kTaskFiles + "\\Updater", false}}},
        {"the program in a shell's arguments, in a nested folder, hidden",
         [](SimSystem& sys) {
             sys.fs().AddFile(kTaskFiles + "\\Vendor\\Sub\\Run",
                              TaskFile("<Hidden>true</Hidden>", "C:\\Windows\\cmd.exe", "/c prog.exe"));
         },
         {{{"\\Vendor\\Sub", "Run", "C:\\Windows\\cmd.exe /c prog.exe"},
           kTaskFiles + "\\Vendor\\Sub\\Run",
           false}}},
        {"disabled task",
         [](SimSystem& sys) {
             sys.fs().AddFile(kTaskFiles + "\\Off", TaskFile("<Enabled>false</Enabled>", "prog.exe"));
         },
         {{{"\\", "Off", "prog.exe"}, kTaskFiles + "\\Off", true}}},
        {"XP work item, enabled and disabled",
         [](SimSystem& sys) {
             sys.fs().AddFile(kJobFiles + "\\Nightly.job", JobBytes(0, "C:\\Program Files\\prog.exe", "-q"));
             sys.fs().AddFile(kJobFiles + "\\Off.job", JobBytes(parse_test::kJobDisabled, "prog.exe", ""));
             sys.fs().AddFile(kJobFiles + "\\desktop.ini", "[.ShellClassInfo]\r\n");
         },
         {{{"\\", "Nightly", "\"C:\\Program Files\\prog.exe\" -q"}, kJobFiles + "\\Nightly.job", false},
          {{"\\", "Off", "prog.exe"}, kJobFiles + "\\Off.job", true}}},
        {"seen in its file and in the scheduler's list: once, as the scheduler shows it",
         [](SimSystem& sys) {
             sys.fs().AddFile(kTaskFiles + "\\Both", TaskFile("", "C:\\prog.exe"));
             sys.taskScheduler().Register(Listed("\\BOTH", "C:\\prog.exe", false));
             sys.fs().AddFile(kJobFiles + "\\Item.job", JobBytes(0, "C:\\prog.exe", ""));
             sys.taskScheduler().Register(Listed("\\Item.job", "C:\\prog.exe"));
         },
         {{{"\\", "BOTH", "C:\\prog.exe"}, kTaskFiles + "\\Both", true},
          {{"\\", "Item", "C:\\prog.exe"}, kJobFiles + "\\Item.job", false}}},
        {"only in the list (files not readable): each under its own folder's rule",
         [](SimSystem& sys) {
             sys.taskScheduler().Register(Listed("\\Vendor\\Listed", "C:\\prog.exe"));
             sys.taskScheduler().Register(Listed("\\Item.job", "C:\\prog.exe"));
         },
         {{{"\\Vendor", "Listed", "C:\\prog.exe"}, "", false},
          {{"\\", "Item", "C:\\prog.exe"}, "", false}}},
        {"a work item Vista lists as a task too: with the tasks only",
         [](SimSystem& sys) {
             sys.fs().AddFile(kTaskFiles + "\\Twin", TaskFile("", "C:\\prog.exe"));
             sys.taskScheduler().Register(Listed("\\Twin", "C:\\prog.exe"));
             sys.fs().AddFile(kJobFiles + "\\Twin.job", JobBytes(0, "C:\\prog.exe", ""));
         },
         {{{"\\", "Twin", "C:\\prog.exe"}, kTaskFiles + "\\Twin", false}}},
        {"broken, huge and foreign files give nothing; the next is read",
         [&](SimSystem& sys) {
             sys.fs().AddFile(kTaskFiles + "\\A Cut", whole.substr(0, whole.size() / 2));
             sys.fs().AddFile(kTaskFiles + "\\B Huge", big);
             sys.fs().AddFile(kTaskFiles + "\\C Garbage", "\xFF\xFE\x01\x02prog.exe");
             sys.fs().AddFile(kJobFiles + "\\D Cut.job", JobBytes(0, "prog.exe", "").substr(0, 0x50));
             sys.fs().AddFile(kTaskFiles + "\\E Locked", whole);
             sys.fs().Lock(kTaskFiles + "\\E Locked", true);
             sys.fs().AddFile(kTaskFiles + "\\F Wine", TaskDefinitionText("", "prog.exe"));
         },
         {{{"\\", "F Wine", "prog.exe"}, kTaskFiles + "\\F Wine", false}}},
    };
    for (const SearchCase& c : cases) {
        SimSystem sys;
        c.arrange(sys);
        const auto result = Search(sys);
        EXPECT_EQ(TaskHits(result.info), c.hits) << c.what;
        EXPECT_EQ(result.details, Detected(static_cast<int>(c.hits.size()))) << c.what;
    }
}

// A task the registry's task cache holds: its Tree key (with Id) and its Tasks key.
void PutCachedTask(SimSystem& sys, const std::string& path, const std::string& id,
                   const std::string& actions) {
    const std::string cache = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Schedule\\TaskCache";
    sys.reg().PutString(platform::RootKey::LocalMachine, cache + "\\Tree" + path, "Id", id);
    sys.reg().PutString(platform::RootKey::LocalMachine, cache + "\\Tasks\\" + id, "Path", path);
    sys.reg().Put(platform::RootKey::LocalMachine, cache + "\\Tasks\\" + id, "Actions",
                  platform::RegType::Binary, actions);
}

TEST(TaskRuleTest, ATaskOnlyTheRegistryCacheHoldsIsFoundAndSaysSo) {
    const std::string rule =
        scantest::PathRule("Tasks", "TASK", "Windows\\System32\\Tasks") + "TaskCache=1\r\n";
    const std::string id = "{11111111-2222-3333-4444-555555555555}";
    const std::string cacheKey =
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Schedule\\"
        "TaskCache\\Tasks\\" + id;
    const std::string runsProg =
        parse_test::CachedActionsValue(parse_test::ExecAction("C:\\prog.exe", "-q"));
    struct CacheCase {
        const char* what;
        std::string rules;
        std::function<void(SimSystem&)> arrange;
        std::vector<std::string> hits;  // task, cache key
    };
    const auto folder = [](SimSystem& sys) { sys.fs().AddDirectory(kTaskFiles); };
    const CacheCase cases[] = {
        {"no file, not listed: found",
         rule,
         [&](SimSystem& sys) {
             folder(sys);
             PutCachedTask(sys, "\\Vendor\\Hidden", id, runsProg);
         },
         {"\\Vendor\\Hidden | " + cacheKey}},
        {"its file is there: once, from the file",
         rule,
         [&](SimSystem& sys) {
             sys.fs().AddFile(kTaskFiles + "\\Seen", TaskFile("", "C:\\prog.exe"));
             PutCachedTask(sys, "\\Seen", id, runsProg);
         },
         {"\\Seen | "}},
        {"the scheduler lists it: once, as listed",
         rule,
         [&](SimSystem& sys) {
             folder(sys);
             sys.taskScheduler().Register(Listed("\\Listed", "C:\\prog.exe"));
             PutCachedTask(sys, "\\LISTED", id, runsProg);
         },
         {"\\Listed | "}},
        {"the task folder cannot be read: the cache is not taken for hidden tasks",
         rule,
         [&](SimSystem& sys) { PutCachedTask(sys, "\\Hidden", id, runsProg); },
         {}},
        {"another program", rule,
         [&](SimSystem& sys) {
             folder(sys);
             PutCachedTask(sys, "\\Other", id,
                           parse_test::CachedActionsValue(parse_test::ExecAction("C:\\other.exe")));
         },
         {}},
        {"damaged actions: none", rule,
         [&](SimSystem& sys) {
             folder(sys);
             PutCachedTask(sys, "\\Cut", id, runsProg.substr(0, runsProg.size() / 2));
         },
         {}},
        {"rule without the key",
         scantest::PathRule("Tasks", "TASK", "Windows\\System32\\Tasks"),
         [&](SimSystem& sys) {
             folder(sys);
             PutCachedTask(sys, "\\Hidden", id, runsProg);
         },
         {}},
    };
    for (const CacheCase& c : cases) {
        SimSystem sys;
        c.arrange(sys);
        sys.fs().AddFile(scantest::kRulesPath, c.rules);
        scantest::SwitchOptions options;
        zorvik::ProcInfo info;
        std::string details;
        zorvik::FindStartups(sys, options, "prog.exe", "", info, details);
        std::vector<std::string> hits;
        for (const zorvik::TaskStart& hit : info.TaskList) hits.push_back(hit.Task + " | " + hit.CacheKey);
        EXPECT_EQ(hits, c.hits) << c.what;
        if (hits.size() != 1 || info.TaskList[0].CacheKey.empty()) continue;
        const std::vector<std::string> tips = zorvik::HitTipLines(info);
        ASSERT_EQ(tips.size(), 1u) << c.what;
        EXPECT_NE(tips[0].find("kept only in the registry's task cache"), std::string::npos);
        EXPECT_EQ(zorvik::OpeningOf(info, {zorvik::StartupKind::Task, 0}).editorKey, cacheKey);
    }
}

struct DisableCase {
    const char* what;
    std::function<void(SimSystem&)> arrange;
    DisableResult result;
    std::string place;
    bool disabledAtNextScan;
};

TEST(TaskRuleTest, DisableGoesThroughTheSchedulerElseTheTaskFile) {
    const std::string file = kTaskFiles + "\\Updater";
    const std::string job = kJobFiles + "\\Item.job";
    const auto taskFile = [&](SimSystem& sys) { sys.fs().AddFile(file, TaskFile("", "prog.exe")); };
    const DisableCase cases[] = {
        {"listed: the scheduler disables it",
         [&](SimSystem& sys) {
             taskFile(sys);
             sys.taskScheduler().Register(Listed("\\Updater", "prog.exe"));
         },
         DisableResult::Disabled, "", true},
        {"a work item: the scheduler disables it",
         [&](SimSystem& sys) {
             sys.fs().AddFile(job, JobBytes(0, "prog.exe", ""));
             sys.taskScheduler().Register(Listed("\\Item.job", "prog.exe"));
         },
         DisableResult::Disabled, "", true},
        {"not listed, as under Wine: the file says disabled",
         taskFile, DisableResult::TaskFileChanged, file, true},
        {"the scheduler refuses a task it lists: the file changes, the scheduler's word stands",
         [&](SimSystem& sys) {
             taskFile(sys);
             sys.taskScheduler().Register(Listed("\\Updater", "prog.exe"));
             sys.taskScheduler().DenyChanges("\\Updater");
         },
         DisableResult::TaskFileChanged, file, false},
        {"no scheduler, read-only file",
         [&](SimSystem& sys) {
             taskFile(sys);
             sys.fs().SetAttributes(file, platform::kAttrReadOnly);
             sys.taskScheduler().SetReachable(false);
         },
         DisableResult::TaskRefused, "\\Updater", false},
        {"a work item the scheduler refuses: its file is not touched",
         [&](SimSystem& sys) {
             sys.fs().AddFile(job, JobBytes(0, "prog.exe", ""));
             sys.taskScheduler().Register(Listed("\\Item.job", "prog.exe"));
             sys.taskScheduler().DenyChanges("\\Item.job");
         },
         DisableResult::TaskRefused, "\\Item.job", false},
    };
    for (const DisableCase& c : cases) {
        SimSystem sys;
        c.arrange(sys);
        auto found = Search(sys);
        ASSERT_EQ(found.info.TaskList.size(), 1u) << c.what;
        const std::string fileBefore = sys.fs().Content(found.info.TaskList[0].File).value_or("");

        const zorvik::DisableOutcome outcome = zorvik::DisableStartup(
            sys, found.info, {zorvik::StartupKind::Task, 0}, "prog.exe");

        EXPECT_EQ(outcome.result, c.result) << c.what;
        EXPECT_EQ(outcome.place, c.place) << c.what;
        EXPECT_EQ(found.info.TaskList[0].Disabled, c.result == DisableResult::Disabled) << c.what;
        const std::string fileAfter = sys.fs().Content(found.info.TaskList[0].File).value_or("");
        if (c.result == DisableResult::TaskFileChanged) {
            EXPECT_EQ(fileAfter.substr(0, 2), "\xFF\xFE") << c.what;
            EXPECT_FALSE(zorvik::parse::ParseTaskXml(fileAfter)->enabled) << c.what;
        } else {
            EXPECT_EQ(fileAfter, fileBefore) << c.what;
        }
        const auto again = Search(sys);
        ASSERT_EQ(again.info.TaskList.size(), 1u) << c.what;
        EXPECT_EQ(again.info.TaskList[0].Disabled, c.disabledAtNextScan) << c.what;
    }
}

}  // namespace
