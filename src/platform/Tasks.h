#pragma once
// The Task Scheduler's own list of registered tasks, as it shows them to this user: Task
// Scheduler 2.0 on Vista and later, and 1.0's .job work items (XP's only kind). Only what a
// task runs and whether it may run are read; triggers and accounts are not.
#include <string>
#include <vector>

namespace platform {

// One Exec action: the program and the text passed to it.
struct TaskAction {
    std::string command;
    std::string arguments;
};

struct ScheduledTask {
    // Below the scheduler's root folder, with a leading backslash: "\Folder\Name" (2.0), or the
    // work item's file name "\Name.job" (1.0). Read as a path below the task file folder
    // (System32\Tasks, or Tasks for .job files) it names the task's file.
    std::string path;
    std::string name;               // as the scheduler shows it: a work item's without ".job"
    bool enabled = true;
    bool hidden = false;
    bool jobFile = false;           // a Task Scheduler 1.0 work item
    std::vector<TaskAction> actions;  // the Exec actions in their order; others are left out
};

class Tasks {
public:
    virtual ~Tasks() = default;
    // Every task of every folder, hidden ones included, then the work items that 2.0 does not
    // show as a task of its root folder. Empty when no scheduler can be reached; a folder or
    // task that cannot be read is left out.
    virtual std::vector<ScheduledTask> List() = 0;
    // Keeps the task at path, as List gives it, from running (2.0: the registered task's
    // Enabled; 1.0: the work item's disabled flag, saved). False when the task is not found or
    // the scheduler refuses.
    virtual bool Disable(const std::string& path) = 0;
};

}  // namespace platform
