#include <cstdint>
#include <optional>

#include "core/base/FixedTexts.h"
#include "core/engine/startup/kinds/TaskKind.h"
#include "core/parse/TaskXmlDisable.h"

namespace zorvik {

namespace {

constexpr const char* kTaskSchedulerCanonicalName = "schedtasks";

// Rewrites the definition file to say the task is disabled, whole and beside itself first; false
// when it cannot be read, holds no task definition, or cannot be written.
bool DisableTaskFile(platform::Files& files, const std::string& file) {
    const std::optional<std::string> bytes = files.ReadAt(file, 0, kTaskFileLimit + 1);
    if (!bytes || bytes->size() > kTaskFileLimit) return false;
    const std::optional<std::string> disabled = parse::DisableTaskXml(*bytes);
    if (!disabled) return false;

    const std::optional<std::uint32_t> attributes = files.Attributes(file);
    if (attributes && (*attributes & platform::kAttrReadOnly)) return false;
    const std::string rewrite = file + kRewriteSuffix;
    if (!files.WriteAll(rewrite, *disabled).ok || !files.Replace(rewrite, file)) {
        files.Delete(rewrite);
        return false;
    }
    if (attributes && *attributes != platform::kAttrNormal) files.SetAttributes(file, *attributes);
    return true;
}

}  // namespace

std::vector<std::string> TaskColumns(const TaskStart& hit) {
    std::string task = hit.Task;
    if (IsWorkItemTask(task)) task.resize(task.size() - kJobExtension.size());
    const std::size_t cut = task.rfind('\\');
    if (cut == std::string::npos) return {"\\", task, hit.Command};
    const std::string folder = cut == 0 ? "\\" : task.substr(0, cut);
    return {folder, task.substr(cut + 1), hit.Command};
}

std::string TaskTipLine(const TaskStart& hit) {
    if (hit.CacheKey.empty()) return {};
    return "Task " + hit.Task + ": " + kTaskOnlyCached + " (" + hit.CacheKey + ")";
}

PlaceOpening TaskOpening(const TaskStart& hit) {
    if (!hit.CacheKey.empty()) return {kRegistryEditor, {}, hit.CacheKey};
    if (!hit.File.empty() && !IsWorkItemTask(hit.Task))
        return {kTextEditor, hit.File, std::nullopt};
    return {kControlPanel, kTaskSchedulerCanonicalName, std::nullopt};
}

DisableOutcome DisableScheduledTask(platform::System& sys, const TaskStart& hit) {
    platform::Tasks* scheduler = sys.tasks();
    if (scheduler && scheduler->Disable(hit.Task)) return {DisableResult::Disabled, {}};
    // A work item's file holds no definition the change applies to: it stays the 1.0
    // scheduler's own.
    if (hit.File.empty() || !DisableTaskFile(sys.files(), hit.File))
        return {DisableResult::TaskRefused, hit.Task};
    return {DisableResult::TaskFileChanged, hit.File};
}

}  // namespace zorvik
