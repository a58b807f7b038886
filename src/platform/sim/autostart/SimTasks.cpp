#include "platform/sim/autostart/SimTasks.h"

#include <set>
#include <vector>

#include "platform/sim/system/SimText.h"

namespace platform::sim {

namespace {

class ScriptedTasks : public SimTasks {
public:
    void Register(ScheduledTask task) override {
        if (ScheduledTask* existing = Find(task.path))
            *existing = std::move(task);
        else
            tasks_.push_back(std::move(task));
    }

    void DenyChanges(const std::string& path) override { denied_.insert(ToLowerAscii(path)); }
    void SetReachable(bool reachable) override { reachable_ = reachable; }

    std::vector<ScheduledTask> List() override {
        return reachable_ ? tasks_ : std::vector<ScheduledTask>{};
    }

    bool Disable(const std::string& path) override {
        ScheduledTask* task = reachable_ ? Find(path) : nullptr;
        if (!task || denied_.count(ToLowerAscii(path))) return false;
        task->enabled = false;
        return true;
    }

private:
    ScheduledTask* Find(const std::string& path) {
        for (ScheduledTask& task : tasks_)
            if (EqualsNoCase(task.path, path)) return &task;
        return nullptr;
    }

    std::vector<ScheduledTask> tasks_;
    std::set<std::string> denied_;  // lower-case paths
    bool reachable_ = true;
};

}  // namespace

std::unique_ptr<SimTasks> MakeSimTasks() { return std::make_unique<ScriptedTasks>(); }

}  // namespace platform::sim
