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

// A file of the folder or its subfolders, named as the scheduler names its task: the prefix, a
// backslash, its path below the folder.
struct TaskFile {
    std::string task;
    std::string file;
};

// False when the folder cannot be listed.
bool ListTaskFiles(platform::Files& files, const std::string& folder, const std::string& prefix,
                   int depth, std::vector<TaskFile>& out) {
    const auto entries = files.List(folder + "\\*");
    if (!entries) return false;
    for (const platform::FindEntry& entry : *entries) {
        if (entry.name.empty() || entry.name == "." || entry.name == "..") continue;
        const std::string path = folder + "\\" + entry.name;
        const std::string task = prefix + "\\" + entry.name;
        if (!(entry.attributes & platform::kAttrDirectory))
            out.push_back({task, path});
        else if (depth < kFolderDepthLimit)
            ListTaskFiles(files, path, task, depth + 1, out);
    }
    return true;
}

bool InMirror(const platform::ScheduledTask& task, Mirror mirror) {
    return mirror == Mirror::WorkItems ? task.jobFile : mirror == Mirror::Scheduler2 && !task.jobFile;
}

TaskFound FromList(const platform::ScheduledTask& task, std::string file) {
    TaskFound found{task.path, std::move(file), task.enabled, {}};
    for (const platform::TaskAction& action : task.actions)
        AddCommandLine(found, CommandLine(action.command, action.arguments));
    return found;
}

// Vista and later keep a work item's .job file beside its task "\Name" of Task Scheduler 2.0:
// that task is read with System32\Tasks and its file here is passed over.
std::unordered_set<std::string> TasksWithWorkItemTwins(
    const std::vector<platform::ScheduledTask>& listed) {
    std::unordered_set<std::string> twins;
    for (const platform::ScheduledTask& task : listed)
        if (!task.jobFile) twins.insert(AsciiLower(task.path) + std::string(kJobExtension));
    return twins;
}

// The tasks of the folder's files and of the scheduler's list of the same folder, each once. A
// task the scheduler lists is taken as it lists it, the file only named: what the scheduler
// holds is what runs, and reading the list is far cheaper than parsing the files. The files
// the list does not show (Wine's Task Scheduler 2.0 shows none) are read; the tasks only
// listed (their files need administrator rights) come last.
std::vector<TaskFound> ReadTasks(platform::Files& files, const std::vector<TaskFile>& taskFiles,
                                 const std::vector<platform::ScheduledTask>& listed,
                                 Mirror mirror) {
    std::unordered_map<std::string, const platform::ScheduledTask*> byPath;
    for (const platform::ScheduledTask& task : listed)
        if (InMirror(task, mirror)) byPath.emplace(AsciiLower(task.path), &task);
    const std::unordered_set<std::string> twins = mirror == Mirror::WorkItems
                                                      ? TasksWithWorkItemTwins(listed)
                                                      : std::unordered_set<std::string>{};
    std::vector<TaskFound> found;
    for (const TaskFile& taskFile : taskFiles) {
        const std::string lower = AsciiLower(taskFile.task);
        if (twins.count(lower)) continue;
        const auto shown = byPath.find(lower);
        if (shown != byPath.end()) {
            found.push_back(FromList(*shown->second, taskFile.file));
            byPath.erase(shown);
            continue;
        }
        // A file that cannot be held in memory is passed over like an unreadable one.
        try {
            if (std::optional<TaskFound> read = ReadTaskFile(files, taskFile.file, taskFile.task))
                found.push_back(std::move(*read));
        } catch (const std::bad_alloc&) {
        }
    }
    for (const platform::ScheduledTask& task : listed)
        if (InMirror(task, mirror) && byPath.count(AsciiLower(task.path)))
            found.push_back(FromList(task, {}));
    return found;
}

// The tasks only the registry cache holds: none of tasks (the folder's files and the
// scheduler's list, each task of the list among them) is the same task.
std::vector<CachedTask> TasksOnlyCached(platform::Registry& reg,
                                        const std::vector<TaskFound>& tasks) {
    std::unordered_set<std::string> known;
    for (const TaskFound& task : tasks) known.insert(AsciiLower(task.task));
    std::vector<CachedTask> only;
    for (CachedTask& task : ReadCachedTasks(reg))
        if (!known.count(AsciiLower(task.path))) only.push_back(std::move(task));
    return only;
}

void AddCachedTask(const CachedTask& task, PlaceReading& reading) {
    if (task.programs.empty() && task.comHandlers.empty()) return;
    StartupSpot spot;
    spot.kind = StartupKind::Task;
    spot.where = task.path;
    spot.ident = task.cacheKey;
    const std::uint32_t at = reading.AddSpot(std::move(spot));
    for (const platform::TaskAction& program : task.programs) {
        const std::string line = CommandLine(program.command, program.arguments);
        reading.AddText(at, line, line);
    }
    // A COM handler runs the class's server (a rule with Classes=1 follows it).
    for (const std::string& classId : task.comHandlers)
        reading.AddClassServers(at, classId, classId);
}

}  // namespace

bool IsWorkItemTask(const std::string& task) { return EndsWithNoCase(task, kJobExtension); }

void ReadTaskPlaces(const ScanRule& rule, PlaceReading& reading) {
    platform::System& sys = reading.sys();
    const std::string folder = WithoutTrailingBackslashes(GetWindowsDrive(sys) + rule.path);
    const Mirror mirror = MirrorOf(sys, folder);
    std::vector<TaskFile> taskFiles;
    const bool folderRead = ListTaskFiles(sys.files(), folder, "", 0, taskFiles);
    const std::vector<platform::ScheduledTask> none;
    const std::vector<TaskFound> tasks = ReadTasks(
        sys.files(), taskFiles, mirror == Mirror::None ? none : reading.ScheduledTasks(), mirror);

    for (const TaskFound& task : tasks) {
        if (task.commandLines.empty()) continue;
        StartupSpot spot;
        spot.kind = StartupKind::Task;
        spot.where = task.task;
        spot.key = task.file;
        spot.off = !task.enabled;
        const std::uint32_t at = reading.AddSpot(std::move(spot));
        for (const std::string& line : task.commandLines) reading.AddText(at, line, line);
    }
    // Only where every task file could be seen can a task be known to have none.
    if (mirror == Mirror::Scheduler2 && folderRead && rule.Value(kTaskCacheRuleKey) == "1") {
        for (const CachedTask& task :
             TasksOnlyCached(sys.registry(), tasks))
            AddCachedTask(task, reading);
    }
}

void WatchTaskPlaces(const ScanRule& rule, WatchedPlaceList& places) {
    places.AddFolder(WithoutTrailingBackslashes(GetWindowsDrive(places.sys()) + rule.path), true);
    places.AddScheduledTasks();
    if (rule.Value(kTaskCacheRuleKey) == "1")
        places.AddKey(platform::RootKey::LocalMachine, kTaskCacheKey, true);
}

}  // namespace zorvik
