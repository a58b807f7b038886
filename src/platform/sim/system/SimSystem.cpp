#include "platform/sim/system/SimSystem.h"

#include <stdexcept>

#include "platform/sim/autostart/SimTasks.h"
#include "platform/sim/autostart/SimTransfers.h"
#include "platform/sim/autostart/SimWmi.h"
#include "platform/sim/system/SimEventLog.h"
#include "platform/sim/system/SimFileFacts.h"
#include "platform/sim/system/SimServices.h"
#include "platform/sim/watch/SimChangeFeed.h"
#include "platform/sim/watch/SimPlaceWatch.h"

namespace platform::sim {

struct SimSystem::Impl {
    SimChangeFeed changes;
    std::unique_ptr<SimRegistry> registry = MakeSimRegistry(changes);
    std::unique_ptr<SimFiles> files = MakeSimFiles(changes);
    std::unique_ptr<Profile> profile = MakeSimProfile(*files);
    std::unique_ptr<SimAccounts> accounts = MakeSimAccounts();
    std::unique_ptr<SimProcesses> processes = MakeSimProcesses(*files);
    std::unique_ptr<SimSockets> sockets = MakeSimSockets();
    std::unique_ptr<SimFileFacts> fileFacts = MakeSimFileFacts(*files);
    std::unique_ptr<SimEnvironment> environment = MakeSimEnvironment(*files);
    std::unique_ptr<SimTasks> tasks = MakeSimTasks();
    std::unique_ptr<SimWmi> wmi = MakeSimWmi();
    std::unique_ptr<SimTransfers> transfers = MakeSimTransfers();
    std::unique_ptr<SimEventLog> eventLog = MakeSimEventLog();
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Ui> ui;
    UtcTime now{2024, 5, 1, 12, 0, 0, 0};
    std::function<void()> whileWatchWaits;
    std::vector<std::pair<int, std::function<void()>>> consoleBreaks;
    int lastConsoleBreak = 0;
};

SimSystem::SimSystem() : impl_(std::make_unique<Impl>()) {
    impl_->shell = MakeSimShell(*this);
    impl_->ui = MakeSimUi(*this);
}

SimSystem::~SimSystem() = default;

Registry& SimSystem::registry() { return *impl_->registry; }
Files& SimSystem::files() { return *impl_->files; }
Profile& SimSystem::profile() { return *impl_->profile; }
Accounts& SimSystem::accounts() { return *impl_->accounts; }
Processes& SimSystem::processes() { return *impl_->processes; }
Sockets& SimSystem::sockets() { return *impl_->sockets; }
Shell& SimSystem::shell() {
    if (!impl_->shell) throw std::logic_error("the simulated shell services are not built");
    return *impl_->shell;
}
Ui& SimSystem::ui() {
    if (!impl_->ui) throw std::logic_error("the simulated windowing services are not built");
    return *impl_->ui;
}

FileFacts* SimSystem::fileFacts() { return impl_->fileFacts.get(); }
Environment* SimSystem::environment() { return impl_->environment.get(); }
Tasks* SimSystem::tasks() { return impl_->tasks.get(); }
Wmi* SimSystem::wmi() { return impl_->wmi.get(); }
BackgroundTransfers* SimSystem::transfers() { return impl_->transfers.get(); }
EventLog* SimSystem::eventLog() { return impl_->eventLog.get(); }

std::unique_ptr<PlaceWatch> SimSystem::NewPlaceWatch() {
    return MakeSimPlaceWatch(*impl_->registry, *impl_->files, impl_->changes,
                             impl_->whileWatchWaits);
}

std::optional<UtcTime> SimSystem::UtcNow() { return impl_->now; }
void SimSystem::SetUtcNow(const UtcTime& now) { impl_->now = now; }

ListenerToken SimSystem::OnConsoleBreak(std::function<void()> onBreak) {
    const int id = ++impl_->lastConsoleBreak;
    impl_->consoleBreaks.emplace_back(id, std::move(onBreak));
    return ListenerToken([impl = impl_.get(), id] {
        std::erase_if(impl->consoleBreaks, [id](const auto& entry) { return entry.first == id; });
    });
}

bool SimSystem::PressConsoleBreak() {
    const auto handlers = impl_->consoleBreaks;
    for (const auto& entry : handlers) entry.second();
    return !handlers.empty();
}

void SimSystem::WhileWatchWaits(std::function<void()> step) {
    impl_->whileWatchWaits = std::move(step);
}

SimRegistry& SimSystem::reg() { return *impl_->registry; }
SimFiles& SimSystem::fs() { return *impl_->files; }
SimAccounts& SimSystem::users() { return *impl_->accounts; }
SimProcesses& SimSystem::procs() { return *impl_->processes; }
SimSockets& SimSystem::wsa() { return *impl_->sockets; }
SimFileFacts& SimSystem::facts() { return *impl_->fileFacts; }
SimEnvironment& SimSystem::env() { return *impl_->environment; }
SimTasks& SimSystem::taskScheduler() { return *impl_->tasks; }
SimWmi& SimSystem::wmiRepository() { return *impl_->wmi; }
SimTransfers& SimSystem::bitsQueue() { return *impl_->transfers; }
SimEventLog& SimSystem::events() { return *impl_->eventLog; }

}  // namespace platform::sim

namespace platform {
std::unique_ptr<System> CreateSystem() { return std::make_unique<sim::SimSystem>(); }

void KeepLibrarySearchInSystemFolder() {}
}  // namespace platform
