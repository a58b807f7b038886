#pragma once
// The Task Scheduler of the real system: 2.0's tasks where it answers, and 1.0's work items.
// COM is started for each call on the calling thread, and the scheduler's libraries are
// loaded only then.
#include "platform/Tasks.h"

namespace platform::win32 {

class Win32Tasks : public Tasks {
public:
    std::vector<ScheduledTask> List() override;
    bool Disable(const std::string& path) override;
};

}  // namespace platform::win32
