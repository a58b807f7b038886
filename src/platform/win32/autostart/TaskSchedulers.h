#pragma once
// The two Task Scheduler interfaces, each on its own: 2.0 (ITaskService, Vista and later) and
// 1.0 (ITaskScheduler of mstask.dll, XP). Both need COM started on the calling thread.
#include <optional>
#include <string>
#include <vector>

#include "platform/Tasks.h"

namespace platform::win32 {

// nullopt when that scheduler cannot be created or connected to.
std::optional<std::vector<ScheduledTask>> ListScheduler2Tasks();
std::optional<bool> DisableScheduler2Task(const std::string& path);

std::optional<std::vector<ScheduledTask>> ListScheduler1Tasks();
// Whether the path names a work item's file ("\Name.job").
bool IsWorkItemPath(const std::string& path);
std::optional<bool> DisableScheduler1Task(const std::string& path);

}  // namespace platform::win32
