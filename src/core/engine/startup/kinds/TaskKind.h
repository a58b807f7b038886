#pragma once
// TASK: the scheduled tasks of a task folder below the Windows drive (System32\Tasks: the
// definition files, in nested folders; Tasks: XP's .job files), and the Task Scheduler's own
// list of the tasks such a folder holds. Each task is one place, each program it runs (its
// command and arguments) one text; a disabled task is switched off as a whole.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"
#include "platform/Tasks.h"

namespace zorvik {

// No task definition comes near this; a larger file is no task and is not read whole.
inline constexpr std::size_t kTaskFileLimit = std::size_t{1} << 20;

// A work item's file name ends so; the scheduler shows its name without it.
inline constexpr std::string_view kJobExtension = ".job";

// Whether the task is a work item of XP's Task Scheduler ("\Name.job").
bool IsWorkItemTask(const std::string& task);

// The rule key ("TaskCache=1") that has the rule of the Windows folder's System32\Tasks read
// the Task Scheduler's registry cache too.
inline constexpr const char* kTaskCacheRuleKey = "TaskCache";
// What the start-up list's tip and the reports say of a task only the cache holds.
inline constexpr const char* kTaskOnlyCached =
    "kept only in the registry's task cache, with no task file and not in the Task Scheduler's "
    "list";
inline constexpr const char* kTaskCacheRootName = "HKEY_LOCAL_MACHINE";
inline constexpr const char* kTaskCacheKey =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Schedule\\TaskCache";

// A task of the registry cache.
struct CachedTask {
    std::string path;      // as the scheduler names it, "\Folder\Name"
    std::string cacheKey;  // its key in Tasks, root name included
    std::vector<platform::TaskAction> programs;
    std::vector<std::string> comHandlers;  // class ids
};

// Every task of the cache's Tree, with the actions its key in Tasks holds; none where the
// cache cannot be read (it needs administrator rights).
std::vector<CachedTask> ReadCachedTasks(platform::Registry& reg);

void ReadTaskPlaces(const ScanRule& rule, PlaceReading& reading);
// The task folder with its subfolders, and the Task Scheduler's own store; with TaskCache=1 its
// registry cache.
void WatchTaskPlaces(const ScanRule& rule, WatchedPlaceList& places);

// The start-up list's columns: the task's folder ("\" for the root), its name as the Task
// Scheduler shows it, the command line.
std::vector<std::string> TaskColumns(const TaskStart& hit);

// The task's definition file in the text editor; the registry editor at its key for a task only
// the registry cache holds; the Task Scheduler for a work item (a binary file) or a task only
// the scheduler showed.
PlaceOpening TaskOpening(const TaskStart& hit);

// For a task only the registry cache holds, a line saying so for the tip of the program's row;
// empty for any other.
std::string TaskTipLine(const TaskStart& hit);

// Disables the task through the Task Scheduler. Where the scheduler cannot or will not (none
// reachable, the task unknown to it, no rights), the definition file that was read is changed
// to say the task is disabled: TaskFileChanged, since a scheduler that does not read the file
// again may still run it. TaskRefused when neither happened.
DisableOutcome DisableScheduledTask(platform::System& sys, const TaskStart& hit);

}  // namespace zorvik
