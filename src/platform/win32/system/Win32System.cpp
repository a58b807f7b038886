// The real system of the Windows build: one object of each service group.
#include "platform/win32/WindowsApi.h"

#include <utility>

#include "platform/System.h"
#include "platform/win32/autostart/Win32Tasks.h"
#include "platform/win32/autostart/Win32Transfers.h"
#include "platform/win32/autostart/Win32Wmi.h"
#include "platform/win32/shell/ShellUiFactory.h"
#include "platform/win32/system/Win32Accounts.h"
#include "platform/win32/system/Win32Environment.h"
#include "platform/win32/system/Win32EventLog.h"
#include "platform/win32/system/Win32FileFacts.h"
#include "platform/win32/system/Win32Files.h"
#include "platform/win32/system/Win32Processes.h"
#include "platform/win32/system/Win32Profile.h"
#include "platform/win32/system/Win32Registry.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/system/Win32Sockets.h"
#include "platform/win32/watch/ConsoleBreak.h"
#include "platform/win32/watch/Win32PlaceWatch.h"

namespace platform {
namespace {

class Win32System : public System {
public:
    Win32System() : shell_(win32::CreateWin32Shell()), ui_(win32::CreateWin32Ui()) {}

    Registry& registry() override { return registry_; }
    Files& files() override { return files_; }
    Profile& profile() override { return profile_; }
    Accounts& accounts() override { return accounts_; }
    Processes& processes() override { return processes_; }
    Sockets& sockets() override { return sockets_; }
    Shell& shell() override { return *shell_; }
    Ui& ui() override { return *ui_; }
    FileFacts* fileFacts() override { return &fileFacts_; }
    Environment* environment() override { return &environment_; }
    std::unique_ptr<PlaceWatch> NewPlaceWatch() override { return win32::CreateWin32PlaceWatch(); }
    Tasks* tasks() override { return &tasks_; }
    Wmi* wmi() override { return &wmi_; }
    BackgroundTransfers* transfers() override { return &transfers_; }
    EventLog* eventLog() override { return &eventLog_; }
    std::optional<UtcTime> UtcNow() override {
        SYSTEMTIME now;
        ::GetSystemTime(&now);
        return UtcTime{now.wYear,  now.wMonth,  now.wDay,         now.wHour,
                       now.wMinute, now.wSecond, now.wMilliseconds};
    }
    ListenerToken OnConsoleBreak(std::function<void()> onBreak) override {
        return win32::AddConsoleBreakHandler(std::move(onBreak));
    }

private:
    win32::Win32Registry registry_;
    win32::Win32Files files_;
    win32::Win32Profile profile_;
    win32::Win32Accounts accounts_;
    win32::Win32Processes processes_;
    win32::Win32Sockets sockets_;
    win32::Win32FileFacts fileFacts_;
    win32::Win32Environment environment_;
    win32::Win32Tasks tasks_;
    win32::Win32Wmi wmi_;
    win32::Win32Transfers transfers_;
    win32::Win32EventLog eventLog_;
    std::unique_ptr<Shell> shell_;
    std::unique_ptr<Ui> ui_;
};

}  // namespace

std::unique_ptr<System> CreateSystem() { return std::make_unique<Win32System>(); }

void KeepLibrarySearchInSystemFolder() { win32::KeepLibrarySearchInSystemFolder(); }

}  // namespace platform
