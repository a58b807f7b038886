#include <cstddef>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "core/base/AsciiLower.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/kinds/TaskKind.h"
#include "core/parse/JobFile.h"
#include "core/parse/TaskXml.h"

namespace zorvik {

namespace {

// Task folders nest a few levels; the bound also ends a folder that contains itself.
constexpr int kFolderDepthLimit = 16;

// Below the Windows folder: where the Task Scheduler 2.0 and 1.0 keep their tasks' files.
constexpr const char* kScheduler2Folder = "\\System32\\Tasks";
constexpr const char* kWorkItemFolder = "\\Tasks";

// Which part of the Task Scheduler's list a rule's folder holds the files of.
enum class Mirror { None, Scheduler2, WorkItems };

struct TaskFound {
    std::string task;  // as the scheduler names it
    std::string file;
    bool enabled = true;
    std::vector<std::string> commandLines;
};

bool EndsWithNoCase(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           AsciiLower(text.substr(text.size() - end.size())) == end;
}

std::string WithoutTrailingBackslashes(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

Mirror MirrorOf(platform::System& sys, const std::string& folder) {
    const std::string windows = AsciiLower(sys.files().WindowsDirectory());
    const std::string lower = AsciiLower(folder);
    if (windows.empty()) return Mirror::None;
    if (lower == windows + AsciiLower(kScheduler2Folder)) return Mirror::Scheduler2;
    if (lower == windows + AsciiLower(kWorkItemFolder)) return Mirror::WorkItems;
    return Mirror::None;
}

// The command quoted when it holds a blank, as the scheduler passes it, then the arguments.
std::string CommandLine(const std::string& command, const std::string& arguments) {
    const bool quote = command.find(' ') != std::string::npos && command.front() != '"';
    std::string line = quote ? "\"" + command + "\"" : command;
    if (!arguments.empty()) line += " " + arguments;
    return line;
}

void AddCommandLine(TaskFound& found, std::string line) {
    if (line.empty()) return;
    for (const std::string& known : found.commandLines)
        if (known == line) return;
    found.commandLines.push_back(std::move(line));
}

// The task a file defines; nothing for a file that cannot be read, is too large, or holds no
// task.
std::optional<TaskFound> ReadTaskFile(platform::Files& files, const std::string& file,
                                      std::string task) {
    const std::optional<std::string> bytes = files.ReadAt(file, 0, kTaskFileLimit + 1);
    if (!bytes || bytes->size() > kTaskFileLimit) return std::nullopt;
    TaskFound found{std::move(task), file, true, {}};
    if (IsWorkItemTask(file)) {
        const std::optional<parse::JobTask> job = parse::ParseJobFile(*bytes);
        if (!job) return std::nullopt;
        found.enabled = !job->disabled;
        AddCommandLine(found, CommandLine(job->applicationName, job->parameters));
        return found;
    }
    const std::optional<parse::TaskDefinition> definition = parse::ParseTaskXml(*bytes);
    if (!definition) return std::nullopt;
    found.enabled = definition->enabled;
    for (const parse::TaskExecAction& action : definition->execActions)
        AddCommandLine(found, CommandLine(action.command, action.arguments));
    return found;
}

// Every task file of the folder and its subfolders, each named as the scheduler names it: the
// prefix, a backslash, its path below the folder.
void ReadTaskFolder(platform::Files& files, const std::string& folder, const std::string& prefix,
                    int depth, std::vector<TaskFound>& out) {
    const auto entries = files.List(folder + "\\*");
    if (!entries) return;
    for (const platform::FindEntry& entry : *entries) {
        if (entry.name.empty() || entry.name == "." || entry.name == "..") continue;
        const std::string path = folder + "\\" + entry.name;
        const std::string task = prefix + "\\" + entry.name;
        if (entry.attributes & platform::kAttrDirectory) {
            if (depth < kFolderDepthLimit) ReadTaskFolder(files, path, task, depth + 1, out);
            continue;
        }
        // A file that cannot be held in memory is passed over like an unreadable one.
        try {
            if (std::optional<TaskFound> found = ReadTaskFile(files, path, task))
                out.push_back(std::move(*found));
        } catch (const std::bad_alloc&) {
        }
    }
}

bool InMirror(const platform::ScheduledTask& task, Mirror mirror) {
    return mirror == Mirror::WorkItems ? task.jobFile : mirror == Mirror::Scheduler2 && !task.jobFile;
}

// Vista and later keep a work item's .job file beside its task "\Name" of Task Scheduler 2.0:
// that task is read with System32\Tasks and its file here is passed over.
bool IsTwinOfListedTask(const TaskFound& found,
                        const std::unordered_set<std::string>& scheduler2Tasks) {
    if (!IsWorkItemTask(found.task)) return false;
    const std::string bare = found.task.substr(0, found.task.size() - kJobExtension.size());
    return scheduler2Tasks.count(AsciiLower(bare)) != 0;
}

// The tasks of the files, joined by the scheduler's list of the same folder: a task in both is
// one, with the scheduler's say on whether it is enabled (the file may be stale); a task only
// listed comes after the files.
std::vector<TaskFound> MergeWithList(std::vector<TaskFound> found,
                                     const std::vector<platform::ScheduledTask>& listed,
                                     Mirror mirror) {
    if (mirror == Mirror::None) return found;
    if (mirror == Mirror::WorkItems) {
        std::unordered_set<std::string> scheduler2Tasks;
        for (const platform::ScheduledTask& task : listed)
            if (!task.jobFile) scheduler2Tasks.insert(AsciiLower(task.path));
        std::erase_if(found, [&](const TaskFound& f) { return IsTwinOfListedTask(f, scheduler2Tasks); });
    }
    std::unordered_map<std::string, std::size_t> byTask;
    for (std::size_t i = 0; i < found.size(); ++i) byTask.emplace(AsciiLower(found[i].task), i);
    for (const platform::ScheduledTask& task : listed) {
        if (!InMirror(task, mirror)) continue;
        const auto [at, added] = byTask.emplace(AsciiLower(task.path), found.size());
        if (added) found.push_back({task.path, {}, true, {}});
        TaskFound& merged = found[at->second];
        merged.enabled = task.enabled;
        for (const platform::TaskAction& action : task.actions)
            AddCommandLine(merged, CommandLine(action.command, action.arguments));
    }
    return found;
}

}  // namespace

bool IsWorkItemTask(const std::string& task) { return EndsWithNoCase(task, kJobExtension); }

void ReadTaskPlaces(const ScanRule& rule, PlaceReading& reading) {
    platform::System& sys = reading.sys();
    const std::string folder = WithoutTrailingBackslashes(GetWindowsDrive(sys) + rule.path);
    const Mirror mirror = MirrorOf(sys, folder);
    std::vector<TaskFound> tasks;
    ReadTaskFolder(sys.files(), folder, "", 0, tasks);
    tasks = MergeWithList(std::move(tasks), reading.ScheduledTasks(), mirror);

    for (TaskFound& task : tasks) {
        if (task.commandLines.empty()) continue;
        StartupSpot spot;
        spot.kind = StartupKind::Task;
        spot.where = std::move(task.task);
        spot.key = std::move(task.file);
        spot.off = !task.enabled;
        const std::uint32_t at = reading.AddSpot(std::move(spot));
        for (const std::string& line : task.commandLines) reading.AddText(at, line, line);
    }
}

}  // namespace zorvik
