// The contract run on the simulated system: one SimSystem for the whole run, scripted with a
// few system processes, this program as a process with an image file, and local accounts.
#include <cstring>
#include <iterator>
#include <string>

#include "contract/ContractEnv.h"
#include "platform/ProcessLayout.h"
#include "platform/sim/autostart/SimTasks.h"
#include "platform/sim/autostart/SimWmi.h"
#include "platform/sim/system/SimSystem.h"
#include "platform/sim/ui/SimUi.h"

namespace contract {

namespace {

using platform::sim::SimProcess;
using platform::sim::SimThread;

constexpr std::uint32_t kOwnPid = 3120;
constexpr std::uint32_t kExplorerPid = 1480;
constexpr char kOwnImagePath[] = "C:\\Zorvik\\Tests\\contract_tests.exe";
// What the loader maps into every program before its own DLLs.
constexpr const char* kSystemModules[] = {"C:\\WINDOWS\\system32\\ntdll.dll",
                                         "C:\\WINDOWS\\system32\\kernel32.dll"};

// A small program file: a DOS header pointing at PE headers with a few sections.
std::string ProgramFileBytes() {
    constexpr std::uint32_t kLfanew = 0x80;
    std::string bytes(0x400, '\0');
    auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&bytes[at], &v, 2); };
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
    put16(0, platform::kDosMagic);
    put32(platform::kDosLfanewOffset, kLfanew);
    std::memcpy(&bytes[kLfanew], "PE\0\0", 4);
    put16(kLfanew + 4, 0x14c);  // i386
    put16(kLfanew + platform::kNtNumberOfSectionsOffset, 4);
    put32(kLfanew + platform::kNtAddressOfEntryPointOffset, 0x1250);
    put32(kLfanew + platform::kNtSizeOfImageOffset, 0x9000);
    return bytes;
}

SimProcess Process(std::uint32_t pid, std::uint32_t parent, std::string image, int threads) {
    SimProcess p;
    p.pid = pid;
    p.parentPid = parent;
    p.imagePath = std::move(image);
    p.threads.assign(static_cast<std::size_t>(threads), SimThread{});
    if (!p.imagePath.empty()) p.modules.assign(std::begin(kSystemModules), std::end(kSystemModules));
    return p;
}

class SimEnv : public Env {
public:
    SimEnv() {
        auto& files = system_.fs();
        files.AddFile(kOwnImagePath, ProgramFileBytes());
        files.AddFile("C:\\WINDOWS\\explorer.exe", ProgramFileBytes());

        auto& procs = system_.procs();
        SimProcess idle = Process(0, 0, "", 1);
        idle.openable = idle.openableLimited = idle.terminable = false;
        SimProcess kernel = Process(4, 0, "", 3);
        kernel.openable = kernel.openableLimited = kernel.terminable = false;
        procs.AddProcess(idle);
        procs.AddProcess(kernel);
        procs.AddProcess(Process(kExplorerPid, 0, "C:\\WINDOWS\\explorer.exe", 6));
        procs.AddProcess(Process(kOwnPid, kExplorerPid, kOwnImagePath, 2));

        system_.users().SetUsers({"Administrator", "Guest", "Zorvik"});
    }

    platform::System& System() override { return system_; }
    bool IsSimulated() const override { return true; }

    std::string ScratchDir() override {
        std::string dir = system_.fs().TempDirectory() + "ZorvikContract-" + std::to_string(++scratchCount_) + "\\";
        system_.fs().AddDirectory(dir);
        return dir;
    }

    std::string ScratchKey() override {
        return "Software\\ZorvikContract\\" + std::to_string(++scratchCount_);
    }

    std::uint32_t OwnPid() override { return kOwnPid; }
    std::string OwnImagePath() override { return kOwnImagePath; }

    std::uint16_t OpenOwnSockets() override {
        CloseOwnSockets();
        std::uint16_t port = static_cast<std::uint16_t>(50000 + ++socketRound_);
        std::uint16_t clientPort = static_cast<std::uint16_t>(port + 1000);
        auto& procs = system_.procs();
        platform::TcpRow listener;
        listener.state = platform::kTcpStateListen;
        listener.localAddress = {127, 0, 0, 1};
        listener.localPort = port;
        listener.owningPid = kOwnPid;
        procs.AddTcpRow(listener);
        platform::TcpRow server = listener;
        server.state = platform::kTcpStateEstab;
        server.remoteAddress = {127, 0, 0, 1};
        server.remotePort = clientPort;
        procs.AddTcpRow(server);
        platform::TcpRow client = server;
        client.localPort = clientPort;
        client.remotePort = port;
        procs.AddTcpRow(client);
        return port;
    }

    // The env's own rows are the only ones in the simulated table.
    void CloseOwnSockets() override { system_.procs().ClearTcpRows(); }

    std::uint32_t StartChild(const std::string& exePath) override {
        if (!system_.fs().Exists(exePath)) return 0;
        std::uint32_t pid = 5000 + 4 * static_cast<std::uint32_t>(++childCount_);
        system_.procs().AddProcess(Process(pid, kOwnPid, exePath, 1));
        return pid;
    }

    void StopChild(std::uint32_t pid) override { system_.procs().RemoveProcess(pid); }

    void SetVariable(const std::string& name, const std::string& value) override {
        system_.env().Set(name, value);
    }

    std::string RegisterTask(const std::string& name, const std::string& command,
                             const std::string& arguments) override {
        platform::ScheduledTask task;
        task.path = "\\ZorvikContract-" + std::to_string(++scratchCount_) + "\\" + name;
        task.name = task.path.substr(task.path.rfind('\\') + 1);
        task.actions.push_back(platform::TaskAction{command, arguments});
        system_.taskScheduler().Register(task);
        return task.path;
    }

    std::string RegisterWorkItem(const std::string& name, const std::string& command,
                                 const std::string& arguments) override {
        platform::ScheduledTask item;
        item.name = "ZorvikContract-" + std::to_string(++scratchCount_) + "-" + name;
        item.path = "\\" + item.name + ".job";
        item.jobFile = true;
        item.actions.push_back(platform::TaskAction{command, arguments});
        system_.taskScheduler().Register(item);
        return item.path;
    }

    void PressKey(platform::Window& window, const platform::KeyStroke& stroke) override {
        platform::sim::GuiOf(system_).PressKey(window, stroke);
    }

    void ClickColumnHeader(platform::ListView& list, int column) override {
        platform::sim::GuiOf(system_).ClickHeader(list, column);
    }

    bool AddWmiEventConsumer(const platform::WmiEventConsumer& consumer) override {
        system_.wmiRepository().AddEventConsumer(consumer);
        return true;
    }

private:
    platform::sim::SimSystem system_;
    int scratchCount_ = 0;
    int socketRound_ = 0;
    int childCount_ = 0;
};

}  // namespace

Env& env() {
    static SimEnv instance;
    return instance;
}

}  // namespace contract
