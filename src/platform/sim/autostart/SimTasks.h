#pragma once
// The simulated Task Scheduler: the tasks a test registers, listed in the order registered.
#include <memory>
#include <string>

#include "platform/Tasks.h"

namespace platform::sim {

class SimTasks : public Tasks {
public:
    // Registers the task, replacing one at the same path (paths compare without regard to case).
    virtual void Register(ScheduledTask task) = 0;
    // Disabling the task is refused, as for another account's task without administrator rights.
    virtual void DenyChanges(const std::string& path) = 0;
    // Whether the scheduler answers at all (true until set): without it the list is empty and
    // nothing can be disabled, as on a system whose scheduler service is stopped.
    virtual void SetReachable(bool reachable) = 0;
};

std::unique_ptr<SimTasks> MakeSimTasks();

}  // namespace platform::sim
