// Task Scheduler 1.0: the work items (.job files) of mstask.dll's ITaskScheduler, XP's only
// scheduler interface.
#include "platform/win32/WindowsApi.h"

#include <mstask.h>

#include "platform/win32/ComObjects.h"
#include "platform/win32/autostart/TaskSchedulers.h"
#include "platform/win32/system/AnsiText.h"

namespace platform::win32 {

namespace {

constexpr ULONG kNamesPerBatch = 64;
constexpr wchar_t kJobExtension[] = L".job";
// More work items than a Tasks folder ever holds; a looping enumerator stops here.
constexpr std::size_t kMaxWorkItems = 100000;

// One batch of names from IEnumWorkItems::Next: each name and the array are the caller's.
class NameBatch {
public:
    NameBatch() = default;
    NameBatch(const NameBatch&) = delete;
    NameBatch& operator=(const NameBatch&) = delete;
    ~NameBatch() {
        for (ULONG i = 0; names_ && i < count_; ++i) ::CoTaskMemFree(names_[i]);
        ::CoTaskMemFree(names_);
    }
    LPWSTR** ReceiveNames() { return &names_; }
    ULONG* ReceiveCount() { return &count_; }
    ULONG Count() const { return names_ ? count_ : 0; }
    const wchar_t* At(ULONG i) const { return names_[i] ? names_[i] : L""; }

private:
    LPWSTR* names_ = nullptr;
    ULONG count_ = 0;
};

ComPtr<ITaskScheduler> CreateScheduler() {
    ComPtr<ITaskScheduler> scheduler;
    if (FAILED(::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ITaskScheduler,
                                  reinterpret_cast<void**>(scheduler.Receive()))))
        return {};
    return scheduler;
}

// The work item's name: its file name without ".job", which Enum gives and Activate (under
// Wine) refuses.
std::wstring WorkItemName(const std::wstring& fileName) {
    const std::size_t extension = sizeof kJobExtension / sizeof kJobExtension[0] - 1;
    if (fileName.size() > extension &&
        ::lstrcmpiW(fileName.c_str() + fileName.size() - extension, kJobExtension) == 0)
        return fileName.substr(0, fileName.size() - extension);
    return fileName;
}

ComPtr<ITask> Activate(ITaskScheduler& scheduler, const std::wstring& fileName) {
    ComPtr<ITask> task;
    if (FAILED(scheduler.Activate(WorkItemName(fileName).c_str(), IID_ITask,
                                  reinterpret_cast<IUnknown**>(task.Receive()))))
        return {};
    return task;
}

std::string TaskText(ITask& task, HRESULT (STDMETHODCALLTYPE ITask::*get)(LPWSTR*)) {
    TaskWideText text;
    LPWSTR received = nullptr;
    if (FAILED((task.*get)(&received))) return {};
    text.Reset(received);
    return ToAnsi(text.get());
}

ScheduledTask ReadWorkItem(ITaskScheduler& scheduler, const wchar_t* fileName) {
    ScheduledTask task;
    task.name = ToAnsi(WorkItemName(fileName).c_str());
    task.path = ToAnsi((L"\\" + std::wstring(fileName)).c_str());
    task.jobFile = true;
    const ComPtr<ITask> item = Activate(scheduler, fileName);
    if (!item) return task;
    DWORD flags = 0;
    if (SUCCEEDED(item->GetFlags(&flags))) {
        task.enabled = (flags & TASK_FLAG_DISABLED) == 0;
        task.hidden = (flags & TASK_FLAG_HIDDEN) != 0;
    }
    TaskAction action{TaskText(*item, &ITask::GetApplicationName),
                      TaskText(*item, &ITask::GetParameters)};
    if (!action.command.empty() || !action.arguments.empty()) task.actions.push_back(action);
    return task;
}

}  // namespace

std::optional<std::vector<ScheduledTask>> ListScheduler1Tasks() {
    const ComPtr<ITaskScheduler> scheduler = CreateScheduler();
    if (!scheduler) return std::nullopt;
    ComPtr<IEnumWorkItems> items;
    if (FAILED(scheduler->Enum(items.Receive())) || !items) return std::nullopt;
    std::vector<ScheduledTask> tasks;
    while (tasks.size() < kMaxWorkItems) {
        NameBatch batch;
        // S_FALSE with the last few names, then S_FALSE with none.
        if (FAILED(items->Next(kNamesPerBatch, batch.ReceiveNames(), batch.ReceiveCount())) ||
            batch.Count() == 0)
            break;
        for (ULONG i = 0; i < batch.Count(); ++i)
            tasks.push_back(ReadWorkItem(*scheduler, batch.At(i)));
    }
    return tasks;
}

bool IsWorkItemPath(const std::string& path) {
    const std::wstring widePath = WideFromAnsi(path);
    return WorkItemName(widePath).size() != widePath.size();
}

std::optional<bool> DisableScheduler1Task(const std::string& path) {
    const ComPtr<ITaskScheduler> scheduler = CreateScheduler();
    if (!scheduler) return std::nullopt;
    // The work item's file name, as the list gives it after the root's backslash.
    const std::wstring name = WideFromAnsi(path.empty() || path[0] != '\\' ? path : path.substr(1));
    const ComPtr<ITask> item = Activate(*scheduler, name);
    DWORD flags = 0;
    if (!item || FAILED(item->GetFlags(&flags)) ||
        FAILED(item->SetFlags(flags | TASK_FLAG_DISABLED)))
        return false;
    // The flag reaches the .job file only when the item is saved.
    const ComPtr<IPersistFile> file = item.As<IPersistFile>();
    return file && SUCCEEDED(file->Save(nullptr, TRUE));
}

}  // namespace platform::win32
