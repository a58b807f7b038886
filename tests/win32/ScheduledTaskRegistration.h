#pragma once
// Tasks registered as an installer registers them: an enabled task without triggers that
// runs one program, through Task Scheduler 2.0, or as a 1.0 work item (a .job file). Removed,
// with the folders made for them, when the owner dies.
#include "platform/win32/WindowsApi.h"

#include <mstask.h>

#include <string>
#include <vector>

#include "platform/win32/autostart/TaskService.h"
#include "platform/win32/system/AnsiText.h"

namespace testsupport {

class RegisteredTasks {
public:
    RegisteredTasks() = default;
    RegisteredTasks(const RegisteredTasks&) = delete;
    RegisteredTasks& operator=(const RegisteredTasks&) = delete;
    ~RegisteredTasks() {
        const platform::win32::ComApartment com;
        const auto root = RootFolder();
        if (!root) return;
        for (const std::wstring& task : tasks_) {
            const platform::win32::ScopedBstr path(task.c_str());
            root->DeleteTask(path.get(), 0);
        }
        // The deepest first: a folder goes only once it is empty.
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
            const platform::win32::ScopedBstr path(folder->c_str());
            root->DeleteFolder(path.get(), 0);
        }
    }

    // Registers the task at path ("\Folder\Name"), making its folders as needed. False when
    // the scheduler cannot be reached or refuses.
    bool Register(const std::string& path, const std::string& command,
                  const std::string& arguments) {
        using platform::win32::ComPtr;
        using platform::win32::ScopedBstr;
        using platform::win32::WideFromAnsi;
        const platform::win32::ComApartment com;
        const ComPtr<ITaskService> service = platform::win32::ConnectTaskService();
        if (!service) return false;
        ComPtr<ITaskFolder> folder = platform::win32::TaskFolder(*service, L"\\");
        const std::wstring widePath = WideFromAnsi(path);
        std::size_t start = 1;
        for (std::size_t cut; (cut = widePath.find(L'\\', start)) != std::wstring::npos;
             start = cut + 1) {
            const std::wstring folderPath = widePath.substr(0, cut);
            ComPtr<ITaskFolder> next = platform::win32::TaskFolder(*service, folderPath);
            if (!next && folder) {
                const ScopedBstr name(widePath.substr(start, cut - start).c_str());
                const platform::win32::ScopedVariant noSddl;
                if (SUCCEEDED(folder->CreateFolder(name.get(), noSddl.get(), next.Receive())))
                    folders_.push_back(folderPath);
            }
            folder = std::move(next);
        }
        if (!folder) return false;

        ComPtr<ITaskDefinition> definition;
        ComPtr<IActionCollection> actions;
        ComPtr<IAction> action;
        if (FAILED(service->NewTask(0, definition.Receive())) ||
            FAILED(definition->get_Actions(actions.Receive())) ||
            FAILED(actions->Create(TASK_ACTION_EXEC, action.Receive())))
            return false;
        const ComPtr<IExecAction> exec = action.As<IExecAction>();
        const std::wstring wideCommand = WideFromAnsi(command);
        const std::wstring wideArguments = WideFromAnsi(arguments);
        const ScopedBstr commandText(wideCommand.c_str());
        const ScopedBstr argumentsText(wideArguments.c_str());
        if (!exec || FAILED(exec->put_Path(commandText.get())) ||
            (!arguments.empty() && FAILED(exec->put_Arguments(argumentsText.get()))))
            return false;

        const ScopedBstr name(widePath.substr(start).c_str());
        const platform::win32::ScopedVariant none;
        ComPtr<IRegisteredTask> registered;
        if (FAILED(folder->RegisterTaskDefinition(name.get(), definition.get(),
                                                  TASK_CREATE_OR_UPDATE, none.get(), none.get(),
                                                  TASK_LOGON_INTERACTIVE_TOKEN, none.get(),
                                                  registered.Receive())))
            return false;
        tasks_.push_back(widePath);
        return true;
    }

private:
    static platform::win32::ComPtr<ITaskFolder> RootFolder() {
        const auto service = platform::win32::ConnectTaskService();
        return service ? platform::win32::TaskFolder(*service, L"\\")
                       : platform::win32::ComPtr<ITaskFolder>{};
    }

    std::vector<std::wstring> tasks_;
    std::vector<std::wstring> folders_;
};

class RegisteredWorkItems {
public:
    RegisteredWorkItems() = default;
    RegisteredWorkItems(const RegisteredWorkItems&) = delete;
    RegisteredWorkItems& operator=(const RegisteredWorkItems&) = delete;
    ~RegisteredWorkItems() {
        const platform::win32::ComApartment com;
        const auto scheduler = Scheduler();
        for (const std::wstring& name : names_)
            if (scheduler) scheduler->Delete(name.c_str());
    }

    // Saves a work item of that name (without ".job"). False when the scheduler refuses.
    bool Register(const std::string& name, const std::string& command,
                  const std::string& arguments) {
        using platform::win32::WideFromAnsi;
        const platform::win32::ComApartment com;
        const auto scheduler = Scheduler();
        platform::win32::ComPtr<ITask> item;
        const std::wstring wideName = WideFromAnsi(name);
        if (!scheduler ||
            FAILED(scheduler->NewWorkItem(wideName.c_str(), CLSID_CTask, IID_ITask,
                                          reinterpret_cast<IUnknown**>(item.Receive()))) ||
            FAILED(item->SetApplicationName(WideFromAnsi(command).c_str())) ||
            FAILED(item->SetParameters(WideFromAnsi(arguments).c_str())))
            return false;
        platform::win32::ComPtr<IPersistFile> file;
        if (FAILED(item->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) ||
            FAILED(file->Save(nullptr, TRUE)))
            return false;
        names_.push_back(wideName);
        return true;
    }

private:
    static platform::win32::ComPtr<ITaskScheduler> Scheduler() {
        platform::win32::ComPtr<ITaskScheduler> scheduler;
        if (FAILED(::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_ITaskScheduler,
                                      reinterpret_cast<void**>(scheduler.Receive()))))
            return {};
        return scheduler;
    }

    std::vector<std::wstring> names_;
};

}  // namespace testsupport
