// Task Scheduler 2.0: the registered tasks of every folder from the root down, read through
// ITaskService, which shows a user the tasks he may see without reading their files.
#include "platform/win32/WindowsApi.h"

#include <utility>

#include "platform/win32/autostart/TaskSchedulers.h"
#include "platform/win32/autostart/TaskService.h"
#include "platform/win32/system/AnsiText.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kRootFolder[] = L"\\";
// Task folders nest only as deep as paths allow; the bound keeps a looping answer finite.
constexpr int kMaxFolderDepth = 64;

std::string AnsiOf(const ScopedBstr& text) { return ToAnsi(text.Text()); }

VARIANT Index(LONG oneBased) {
    VARIANT index;
    ::VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = oneBased;
    return index;
}

void ReadActions(ITaskDefinition& definition, ScheduledTask& task) {
    ComPtr<IActionCollection> actions;
    LONG count = 0;
    if (FAILED(definition.get_Actions(actions.Receive())) || !actions ||
        FAILED(actions->get_Count(&count)))
        return;
    for (LONG i = 1; i <= count; ++i) {
        ComPtr<IAction> action;
        TASK_ACTION_TYPE type = TASK_ACTION_EXEC;
        if (FAILED(actions->get_Item(i, action.Receive())) || !action ||
            FAILED(action->get_Type(&type)) || type != TASK_ACTION_EXEC)
            continue;
        const ComPtr<IExecAction> exec = action.As<IExecAction>();
        if (!exec) continue;
        ScopedBstr command;
        ScopedBstr arguments;
        exec->get_Path(command.Receive());
        exec->get_Arguments(arguments.Receive());
        task.actions.push_back(TaskAction{AnsiOf(command), AnsiOf(arguments)});
    }
}

ScheduledTask ReadTask(IRegisteredTask& registered) {
    ScheduledTask task;
    ScopedBstr path;
    ScopedBstr name;
    registered.get_Path(path.Receive());
    registered.get_Name(name.Receive());
    task.path = AnsiOf(path);
    task.name = AnsiOf(name);
    VARIANT_BOOL enabled = VARIANT_TRUE;
    if (SUCCEEDED(registered.get_Enabled(&enabled))) task.enabled = enabled != VARIANT_FALSE;
    // A task whose definition this user may not read still shows its path and state.
    ComPtr<ITaskDefinition> definition;
    if (FAILED(registered.get_Definition(definition.Receive())) || !definition) return task;
    ComPtr<ITaskSettings> settings;
    VARIANT_BOOL hidden = VARIANT_FALSE;
    if (SUCCEEDED(definition->get_Settings(settings.Receive())) && settings &&
        SUCCEEDED(settings->get_Hidden(&hidden)))
        task.hidden = hidden != VARIANT_FALSE;
    ReadActions(*definition, task);
    return task;
}

void CollectFolder(ITaskFolder& folder, int depth, std::vector<ScheduledTask>& into) {
    ComPtr<IRegisteredTaskCollection> tasks;
    LONG taskCount = 0;
    if (SUCCEEDED(folder.GetTasks(TASK_ENUM_HIDDEN, tasks.Receive())) && tasks &&
        SUCCEEDED(tasks->get_Count(&taskCount))) {
        for (LONG i = 1; i <= taskCount; ++i) {
            ComPtr<IRegisteredTask> registered;
            if (FAILED(tasks->get_Item(Index(i), registered.Receive())) || !registered) continue;
            // A task without a path could be neither matched nor disabled.
            ScheduledTask task = ReadTask(*registered);
            if (!task.path.empty()) into.push_back(std::move(task));
        }
    }
    if (depth >= kMaxFolderDepth) return;
    ComPtr<ITaskFolderCollection> folders;
    LONG folderCount = 0;
    if (FAILED(folder.GetFolders(0, folders.Receive())) || !folders ||
        FAILED(folders->get_Count(&folderCount)))
        return;
    for (LONG i = 1; i <= folderCount; ++i) {
        ComPtr<ITaskFolder> child;
        if (SUCCEEDED(folders->get_Item(Index(i), child.Receive())) && child)
            CollectFolder(*child, depth + 1, into);
    }
}

}  // namespace

ComPtr<ITaskService> ConnectTaskService() {
    // CLSID_TaskScheduler, which MinGW's import libraries lack.
    constexpr GUID kTaskSchedulerClass = {
        0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};
    ComPtr<ITaskService> service;
    if (FAILED(::CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER,
                                  __uuidof(ITaskService),
                                  reinterpret_cast<void**>(service.Receive()))))
        return {};
    // Empty server, user, domain and password: this machine, as this user.
    const ScopedVariant none;
    if (FAILED(service->Connect(none.get(), none.get(), none.get(), none.get()))) return {};
    return service;
}

ComPtr<ITaskFolder> TaskFolder(ITaskService& service, const std::wstring& path) {
    ComPtr<ITaskFolder> folder;
    const ScopedBstr name(path.c_str());
    if (FAILED(service.GetFolder(name.get(), folder.Receive()))) return {};
    return folder;
}

std::optional<std::vector<ScheduledTask>> ListScheduler2Tasks() {
    const ComPtr<ITaskService> service = ConnectTaskService();
    if (!service) return std::nullopt;
    const ComPtr<ITaskFolder> root = TaskFolder(*service, kRootFolder);
    if (!root) return std::nullopt;
    std::vector<ScheduledTask> tasks;
    CollectFolder(*root, 0, tasks);
    return tasks;
}

std::optional<bool> DisableScheduler2Task(const std::string& path) {
    const ComPtr<ITaskService> service = ConnectTaskService();
    if (!service) return std::nullopt;
    // The task's folder, then the task by its name there.
    const std::wstring widePath = WideFromAnsi(path);
    const std::size_t cut = widePath.find_last_of(L'\\');
    const std::wstring folderPath = cut == std::wstring::npos || cut == 0
        ? std::wstring(kRootFolder) : widePath.substr(0, cut);
    const std::wstring name = cut == std::wstring::npos ? widePath : widePath.substr(cut + 1);
    const ComPtr<ITaskFolder> folder = TaskFolder(*service, folderPath);
    if (!folder || name.empty()) return false;
    const ScopedBstr taskName(name.c_str());
    ComPtr<IRegisteredTask> task;
    if (FAILED(folder->GetTask(taskName.get(), task.Receive())) || !task ||
        FAILED(task->put_Enabled(VARIANT_FALSE)))
        return false;
    // Asked again, as the scheduler keeps it: Wine answers put_Enabled with success and keeps
    // the task enabled.
    ComPtr<IRegisteredTask> stored;
    VARIANT_BOOL enabled = VARIANT_TRUE;
    return SUCCEEDED(folder->GetTask(taskName.get(), stored.Receive())) && stored &&
           SUCCEEDED(stored->get_Enabled(&enabled)) && enabled == VARIANT_FALSE;
}

}  // namespace platform::win32
