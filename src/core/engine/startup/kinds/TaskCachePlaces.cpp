// The Task Scheduler's registry cache: Tree holds a key for each task, named by its folders and
// name, with the task's Id; Tasks\{Id} holds its Path and its Actions. A task whose file was
// deleted, or whose Tree key lost its security descriptor, still runs from here while neither
// the task folder nor the scheduler's list shows it.
#include <optional>

#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/kinds/TaskKind.h"
#include "core/parse/TaskCacheActions.h"

namespace zorvik {

namespace {

constexpr const char* kTreeKey = "Tree";
constexpr const char* kTasksKey = "Tasks";
constexpr const char* kIdValue = "Id";
constexpr const char* kActionsValue = "Actions";
// The cache's folders nest as the task folders do.
constexpr int kTreeDepthLimit = 16;

void ReadActions(platform::Registry& reg, platform::Registry::Handle tasks, const std::string& id,
                 CachedTask& task) {
    const platform::RegKey key = platform::OpenKeyBelow(reg, tasks, id, platform::KeyAccess::Read);
    if (!key) return;
    const std::optional<platform::RegValue> actions = reg.Query(key.get(), kActionsValue);
    if (!actions || actions->type != platform::RegType::Binary) return;
    const std::optional<parse::CachedActions> parsed = parse::ParseTaskCacheActions(actions->data);
    if (!parsed) return;
    for (const parse::CachedExecAction& exec : parsed->execActions)
        task.programs.push_back({exec.command, exec.arguments});
    task.comHandlers = parsed->comHandlers;
}

void WalkTree(platform::Registry& reg, platform::Registry::Handle tree,
              platform::Registry::Handle tasks, const std::string& path, int depth,
              std::vector<CachedTask>& out) {
    for (const std::string& name : reg.SubKeyNames(tree)) {
        const platform::RegKey key = platform::OpenKeyBelow(reg, tree, name, platform::KeyAccess::Read);
        if (!key) continue;
        const std::string taskPath = path + "\\" + name;
        if (std::optional<std::string> id = ReadTextValue(reg, key.get(), kIdValue);
            id && !id->empty()) {
            CachedTask task;
            task.path = taskPath;
            task.cacheKey = std::string(kTaskCacheRootName) + "\\" + kTaskCacheKey + "\\" +
                            kTasksKey + "\\" + *id;
            ReadActions(reg, tasks, *id, task);
            out.push_back(std::move(task));
        } else if (depth < kTreeDepthLimit) {
            WalkTree(reg, key.get(), tasks, taskPath, depth + 1, out);
        }
    }
}

}  // namespace

std::vector<CachedTask> ReadCachedTasks(platform::Registry& reg) {
    std::vector<CachedTask> found;
    const platform::RegKey cache = platform::OpenKey(reg, platform::RootKey::LocalMachine,
                                                     kTaskCacheKey, platform::KeyAccess::Read);
    if (!cache) return found;
    const platform::RegKey tree =
        platform::OpenKeyBelow(reg, cache.get(), kTreeKey, platform::KeyAccess::Read);
    const platform::RegKey tasks =
        platform::OpenKeyBelow(reg, cache.get(), kTasksKey, platform::KeyAccess::Read);
    if (!tree || !tasks) return found;
    WalkTree(reg, tree.get(), tasks.get(), "", 0, found);
    return found;
}

}  // namespace zorvik
