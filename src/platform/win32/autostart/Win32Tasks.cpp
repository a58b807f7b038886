#include "platform/win32/autostart/Win32Tasks.h"

#include "platform/win32/WindowsApi.h"

#include "platform/win32/ComObjects.h"
#include "platform/win32/autostart/TaskSchedulers.h"

namespace platform::win32 {

namespace {

// Vista and later register every work item as a 2.0 task of the root folder too ("\Name" for
// "\Name.job"); such an item is listed once, as the task.
bool ShownAsTask(const ScheduledTask& item, const std::vector<ScheduledTask>& tasks) {
    const std::string taskPath = "\\" + item.name;
    for (const ScheduledTask& task : tasks)
        if (!task.jobFile && ::lstrcmpiA(task.path.c_str(), taskPath.c_str()) == 0) return true;
    return false;
}

}  // namespace

// Both schedulers are asked: Wine's 2.0 lists no task at all while its 1.0 lists work items,
// and a work item 2.0 does not know of still runs.
std::vector<ScheduledTask> Win32Tasks::List() {
    const ComApartment com;
    std::vector<ScheduledTask> tasks = ListScheduler2Tasks().value_or(std::vector<ScheduledTask>{});
    for (ScheduledTask& item : ListScheduler1Tasks().value_or(std::vector<ScheduledTask>{}))
        if (!ShownAsTask(item, tasks)) tasks.push_back(std::move(item));
    return tasks;
}

bool Win32Tasks::Disable(const std::string& path) {
    const ComApartment com;
    if (IsWorkItemPath(path)) return DisableScheduler1Task(path).value_or(false);
    return DisableScheduler2Task(path).value_or(false);
}

}  // namespace platform::win32
