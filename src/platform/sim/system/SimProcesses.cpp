// The simulated processes: scripted process records, handles with the access they were
// opened with, the process snapshot and the TCP table.
#include <algorithm>
#include <cstring>
#include <map>

#include "platform/ProcessLayout.h"
#include "platform/sim/system/SimServices.h"
#include "platform/sim/system/SimSnapshot.h"
#include "platform/sim/system/SimTcp.h"

namespace platform::sim {

namespace {

constexpr std::uint32_t kSynchronize = 0x00100000;
constexpr std::int32_t kStatusNotImplemented = static_cast<std::int32_t>(0xC0000002u);
constexpr std::int32_t kStatusInvalidInfoClass = static_cast<std::int32_t>(0xC0000003u);

class SimProcessesImpl : public SimProcesses {
public:
    explicit SimProcessesImpl(SimFiles& files) : files_(files), tcp_(std::make_shared<TcpState>()) {}

    std::unique_ptr<TcpTable> LoadTcpTable() override { return LoadSimTcpTable(tcp_); }

    bool HasSystemInformationQuery() override { return hasQuery_; }

    std::int32_t QuerySystemInformation(std::uint32_t infoClass, void* buffer,
                                        std::uint32_t size) override {
        querySizes_.push_back(size);
        if (!hasQuery_) return kStatusNotImplemented;
        if (infoClass != kSystemProcessInformationClass) return kStatusInvalidInfoClass;
        if (!buffer || size < SnapshotBytes(processes_)) return kStatusInfoLengthMismatch;
        WriteSnapshot(processes_, buffer);
        return kStatusSuccess;
    }

    Handle Open(std::uint32_t pid, std::uint32_t access) override {
        openAccesses_.push_back(access);
        const SimProcess* process = Find(pid);
        if (pid == 0 || !process || !Grants(*process, access)) return 0;
        if ((access & kProcessQueryLimitedInformation) && !limitedQueries_) return 0;
        Handle h = nextHandle_;
        nextHandle_ += 4;
        handles_[h] = OpenProcess{pid, access};
        if (process->exitsAtOpen > 0 && ++opensByPid_[pid] == process->exitsAtOpen)
            RemoveProcess(pid);
        return h;
    }

    void Close(Handle process) override { handles_.erase(process); }

    std::uintptr_t FirstModule(Handle process) override {
        const SimProcess* p = Target(process, kProcessQueryInformation | kProcessVmRead);
        if (!p || !p->modulesReadable) return 0;
        return p->imageBase;
    }

    std::optional<std::string> ModuleFileName(Handle process, std::uintptr_t module) override {
        const SimProcess* p = Target(process, kProcessQueryInformation | kProcessVmRead);
        if (!p || !p->modulesReadable || module != p->imageBase) return std::nullopt;
        if (!p->fileNameReadable || p->imagePath.empty()) return std::nullopt;
        return p->imagePath;
    }

    std::optional<std::string> FullImageName(Handle process) override {
        if (!limitedQueries_) return std::nullopt;
        const SimProcess* p = Target(process, kProcessQueryLimitedInformation);
        if (!p) p = Target(process, kProcessQueryInformation);
        if (!p || !p->imageNameReadable || p->imagePath.empty()) return std::nullopt;
        return p->imagePath;
    }

    std::optional<std::uintptr_t> FirstModuleBase(std::uint32_t pid) override {
        // The tool-help snapshot reads the module list as EnumProcessModules does.
        const SimProcess* p = Find(pid);
        if (pid == 0 || !p || !p->openable || !p->modulesReadable) return std::nullopt;
        return p->imageBase;
    }

    std::optional<PathList> LoadedModules(std::uint32_t pid) override {
        const Handle h = Open(pid, kProcessQueryInformation | kProcessVmRead);
        if (!h) return std::nullopt;
        const SimProcess* p = Target(h, kProcessQueryInformation | kProcessVmRead);
        std::optional<PathList> paths;
        if (p && p->modulesReadable) {
            paths.emplace();
            if (!p->imagePath.empty()) paths->Add(p->imagePath);
            for (const std::string& module : p->modules) paths->Add(module);
        }
        Close(h);
        return paths;
    }

    bool ReadMemory(Handle process, std::uintptr_t address, void* buffer, std::size_t size) override {
        const SimProcess* p = Target(process, kProcessVmRead);
        if (!p || !buffer) return false;
        std::string image = p->imageMemory ? *p->imageMemory : files_.Content(p->imagePath).value_or("");
        if (address < p->imageBase) return false;
        std::uintptr_t offset = address - p->imageBase;
        if (offset > image.size() || size > image.size() - offset) return false;
        std::memcpy(buffer, image.data() + offset, size);
        return true;
    }

    bool Terminate(Handle process, std::uint32_t) override {
        const SimProcess* p = Target(process, kProcessTerminate);
        if (!p) return false;
        std::uint32_t pid = p->pid;
        RemoveProcess(pid);
        // Its sockets close with it.
        auto& rows = tcp_->rows;
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [pid](const TcpRow& r) { return r.owningPid == pid; }),
                   rows.end());
        return true;
    }

    void AddProcess(SimProcess process) override {
        SnapshotEntry entry;
        for (std::size_t i = 0; i < process.threads.size(); ++i) {
            entry.threadIds.push_back(nextThreadId_);
            nextThreadId_ += 4;
        }
        entry.process = std::move(process);
        for (auto& existing : processes_) {
            if (existing.process.pid == entry.process.pid) {
                existing = std::move(entry);
                return;
            }
        }
        processes_.push_back(std::move(entry));
    }

    void RemoveProcess(std::uint32_t pid) override {
        processes_.erase(std::remove_if(processes_.begin(), processes_.end(),
                                        [pid](const SnapshotEntry& e) { return e.process.pid == pid; }),
                         processes_.end());
    }

    bool IsRunning(std::uint32_t pid) const override { return Find(pid) != nullptr; }
    void AddTcpRow(const TcpRow& row) override { tcp_->rows.push_back(row); }
    void ClearTcpRows() override { tcp_->rows.clear(); }

    void SetTcpFunctions(bool extended, bool legacy) override {
        tcp_->extended = extended;
        tcp_->legacy = legacy;
    }

    void SetSystemInformationQuery(bool available) override { hasQuery_ = available; }
    void SetLimitedQueries(bool available) override { limitedQueries_ = available; }
    const std::vector<std::uint32_t>& QuerySizes() const override { return querySizes_; }
    int OpenHandleCount() const override { return static_cast<int>(handles_.size()); }
    const std::vector<std::uint32_t>& OpenAccesses() const override { return openAccesses_; }
    int LiveTcpTableCount() const override { return tcp_->liveTables; }

private:
    struct OpenProcess {
        std::uint32_t pid;
        std::uint32_t access;
    };

    // Query and read rights need a fully openable process, the limited query right alone
    // the limited fallback, and termination a terminable one.
    static bool Grants(const SimProcess& process, std::uint32_t access) {
        constexpr std::uint32_t kLightRights = kProcessTerminate | kProcessQueryLimitedInformation | kSynchronize;
        if ((access & kProcessTerminate) && !process.terminable) return false;
        if ((access & ~kLightRights) && !process.openable) return false;
        if ((access & kProcessQueryLimitedInformation) && !process.openableLimited && !process.openable)
            return false;
        return true;
    }

    const SimProcess* Find(std::uint32_t pid) const {
        for (const auto& entry : processes_)
            if (entry.process.pid == pid) return &entry.process;
        return nullptr;
    }

    // The live process behind a handle opened with every right in needed; the handle of a
    // process that has exited reaches nothing.
    const SimProcess* Target(Handle process, std::uint32_t needed) const {
        auto it = handles_.find(process);
        if (it == handles_.end()) return nullptr;
        std::uint32_t granted = it->second.access;
        // Full query rights include the limited ones.
        if (granted & kProcessQueryInformation) granted |= kProcessQueryLimitedInformation;
        if ((granted & needed) != needed) return nullptr;
        return Find(it->second.pid);
    }

    SimFiles& files_;
    std::shared_ptr<TcpState> tcp_;
    std::vector<SnapshotEntry> processes_;  // in the order added, as the snapshot lists them
    std::map<Handle, OpenProcess> handles_;
    std::map<std::uint32_t, int> opensByPid_;  // for SimProcess::exitsAtOpen
    Handle nextHandle_ = 0x200;
    std::uint32_t nextThreadId_ = 2000;
    bool hasQuery_ = true;
    bool limitedQueries_ = true;
    std::vector<std::uint32_t> querySizes_;
    std::vector<std::uint32_t> openAccesses_;
};

}  // namespace

std::unique_ptr<SimProcesses> MakeSimProcesses(SimFiles& files) {
    return std::make_unique<SimProcessesImpl>(files);
}

}  // namespace platform::sim
