#pragma once
// A simulated Windows in memory. Tests script its registry, files, accounts, processes and
// TCP table through the Sim* classes below, then run the core against it as against Windows.
// Paths compare without regard to case, as on Windows; the simulated system starts with the
// drive C:\, the Windows directory C:\WINDOWS and the program at C:\Zorvik\Zorvik.exe.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/System.h"

namespace platform::sim {

class SimRegistry;
class SimFiles;
class SimProfile;
class SimAccounts;
class SimProcesses;
class SimSockets;
class SimEnvironment;

struct SimThread {
    std::uint32_t threadState = 2;  // 2 = running; 5 = waiting
    std::uint32_t waitReason = 0;   // 5 = suspended
    std::int64_t userTime = 100;
};

struct SimProcess {
    std::uint32_t pid = 0;
    std::uint32_t parentPid = 0;
    std::string imagePath;                 // what GetModuleFileNameExA reports
    std::vector<SimThread> threads{SimThread{}};
    bool openable = true;                  // false: OpenProcess with query + read access fails
    bool openableLimited = true;           // the limited-query fallback
    bool modulesReadable = true;           // false: EnumProcessModules gives no module
    bool fileNameReadable = true;          // false: GetModuleFileNameExA writes nothing
    bool imageNameReadable = true;         // false: QueryFullProcessImageNameA fails too
    bool terminable = true;
    // n > 0: the process exits right after its nth successful Open, before anything is read
    // through that handle (a program that ends while it is being examined).
    int exitsAtOpen = 0;
    std::uintptr_t imageBase = 0x400000;
    // The DLLs loaded beside the program, in load order; the module list is the program's own
    // path followed by these.
    std::vector<std::string> modules;
    // The bytes mapped at imageBase (at least the DOS and NT headers for the image test).
    // Empty: the image is copied from the program file's bytes when it exists.
    std::optional<std::string> imageMemory;
};

class SimFileFacts;
class SimTasks;
class SimWmi;
class SimTransfers;
class SimEventLog;

class SimSystem : public System {
public:
    SimSystem();
    ~SimSystem() override;

    Registry& registry() override;
    Files& files() override;
    Profile& profile() override;
    Accounts& accounts() override;
    Processes& processes() override;
    Sockets& sockets() override;
    Shell& shell() override;
    Ui& ui() override;
    FileFacts* fileFacts() override;
    Environment* environment() override;
    std::unique_ptr<PlaceWatch> NewPlaceWatch() override;
    Tasks* tasks() override;
    Wmi* wmi() override;
    BackgroundTransfers* transfers() override;
    EventLog* eventLog() override;
    std::optional<UtcTime> UtcNow() override;
    ListenerToken OnConsoleBreak(std::function<void()> onBreak) override;

    // Scripting the clock (2024-05-01 12:00:00 UTC until set), the console's Ctrl+C (true when
    // a handler took it) and what happens while a place watch waits: step runs each time a
    // watch of this system would block with no change pending, as another program would act
    // meanwhile. It must, in the end, stop the waiting program (e.g. by pressing Ctrl+C), or
    // the program waits on for ever, as a real one would.
    void SetUtcNow(const UtcTime& now);
    bool PressConsoleBreak();
    void WhileWatchWaits(std::function<void()> step);

    // Scripting access to each simulated service.
    SimRegistry& reg();
    SimFiles& fs();
    SimAccounts& users();
    SimProcesses& procs();
    SimSockets& wsa();
    SimFileFacts& facts();
    SimEnvironment& env();
    SimTasks& taskScheduler();   // sim/autostart/SimTasks.h
    SimWmi& wmiRepository();     // sim/autostart/SimWmi.h
    SimTransfers& bitsQueue();   // sim/autostart/SimTransfers.h
    SimEventLog& events();       // sim/system/SimEventLog.h

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class SimRegistry : public Registry {
public:
    // Scripting: creates the key path as needed; values keep the order they were first set in.
    virtual void Put(RootKey root, const std::string& path, const std::string& name,
                     RegType type, const std::string& data) = 0;
    void PutString(RootKey root, const std::string& path, const std::string& name,
                   const std::string& text) { Put(root, path, name, RegType::Sz, text + '\0'); }
    virtual void MakeKey(RootKey root, const std::string& path) = 0;
    // Opening the key with all access is refused (as for machine keys without elevation).
    virtual void DenyFullAccess(RootKey root, const std::string& path) = 0;
    // Setting values in the key is refused even with all access.
    virtual void DenyWrites(RootKey root, const std::string& path) = 0;
    virtual std::optional<RegValue> Get(RootKey root, const std::string& path,
                                        const std::string& name) const = 0;
    virtual bool KeyExists(RootKey root, const std::string& path) const = 0;
    virtual int OpenKeyCount() const = 0;  // keys opened and not yet closed
    // How often Open was asked for the key at path (any letter case), whether it exists or not:
    // what tells a test which places a scan read.
    virtual int OpensOf(RootKey root, const std::string& path) const = 0;
};

class SimFiles : public Files {
public:
    // Scripting. Parent folders are created as needed.
    virtual void AddFile(const std::string& path, const std::string& bytes) = 0;
    virtual void AddDirectory(const std::string& path) = 0;
    // The 8.3 name of the last component of path (e.g. "PROG~1.EXE"); otherwise names longer
    // than 8.3 get a generated one ("PROGRA~1") and names that fit are their own short name.
    virtual void SetShortName(const std::string& path, const std::string& shortName) = 0;
    // Reads and writes of the file fail with a sharing violation while locked.
    virtual void Lock(const std::string& path, bool locked) = 0;
    virtual void SetWindowsDirectory(const std::string& dir) = 0;
    virtual void SetOwnPath(const std::string& path) = 0;
    virtual std::optional<std::string> Content(const std::string& path) const = 0;
    virtual bool Exists(const std::string& path) const = 0;
    // What ReadAll would give, without a copy: the bytes (valid until the files next change)
    // and a number that differs after every write of them, for the simulated readers that keep
    // what they parsed of a file.
    struct ContentView {
        const std::string* bytes = nullptr;
        std::uint64_t revision = 0;
    };
    virtual FileResult View(const std::string& path, ContentView& view) const = 0;
};

class SimAccounts : public Accounts {
public:
    // Pages as the system does: at most the entries asked, and fewer when their names would
    // pass the preferred length (about 400 bytes); 234 while more remain.
    virtual void SetUsers(std::vector<std::string> names) = 0;
    // Makes calls from the given one on (counting from 0) answer with result and no entries.
    virtual void FailFromCall(int callIndex, std::uint32_t result) = 0;
    virtual int CallCount() const = 0;
};

class SimProcesses : public Processes {
public:
    virtual void AddProcess(SimProcess process) = 0;
    virtual void RemoveProcess(std::uint32_t pid) = 0;  // the process exits
    virtual bool IsRunning(std::uint32_t pid) const = 0;
    virtual void AddTcpRow(const TcpRow& row) = 0;
    // Shorthand: an IPv4 row in the given state owned by pid.
    void AddSocket(std::uint32_t pid, std::uint32_t state, std::uint16_t localPort = 80) {
        TcpRow r; r.state = state; r.owningPid = pid; r.localPort = localPort; AddTcpRow(r);
    }
    virtual void ClearTcpRows() = 0;
    // Which TCP-table functions the simulated iphlpapi.dll exports.
    virtual void SetTcpFunctions(bool extended, bool legacy) = 0;
    virtual void SetSystemInformationQuery(bool available) = 0;
    // Whether the system knows PROCESS_QUERY_LIMITED_INFORMATION and QueryFullProcessImageNameA
    // (Vista and later; true until set). Without them, as on XP, an Open asking for the limited
    // right fails and FullImageName gives nothing.
    virtual void SetLimitedQueries(bool available) = 0;
    // Sizes passed to QuerySystemInformation, in call order.
    virtual const std::vector<std::uint32_t>& QuerySizes() const = 0;
    virtual int OpenHandleCount() const = 0;
    // The access masks passed to Open, in call order.
    virtual const std::vector<std::uint32_t>& OpenAccesses() const = 0;
    // TCP-table objects from LoadTcpTable not yet destroyed (each holds the library).
    virtual int LiveTcpTableCount() const = 0;
};

class SimEnvironment : public Environment {
public:
    // Scripting: defines (or redefines) a variable; an empty value undefines it. SystemRoot,
    // windir and SystemDrive follow the Windows directory unless set here.
    virtual void Set(const std::string& name, const std::string& value) = 0;
};

class SimSockets : public Sockets {
public:
    virtual bool Started() const = 0;
    virtual int StartupCount() const = 0;
    virtual int CleanupCount() const = 0;
};

}  // namespace platform::sim
