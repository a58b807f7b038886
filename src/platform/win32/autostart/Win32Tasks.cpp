#include "platform/win32/autostart/Win32Tasks.h"

#include "platform/win32/ComObjects.h"
#include "platform/win32/autostart/TaskSchedulers.h"

namespace platform::win32 {

std::vector<ScheduledTask> Win32Tasks::List() {
    const ComApartment com;
    if (auto tasks = ListScheduler2Tasks()) return std::move(*tasks);
    return ListScheduler1Tasks().value_or(std::vector<ScheduledTask>{});
}

bool Win32Tasks::Disable(const std::string& path) {
    const ComApartment com;
    if (auto disabled = DisableScheduler2Task(path)) return *disabled;
    return DisableScheduler1Task(path).value_or(false);
}

}  // namespace platform::win32
