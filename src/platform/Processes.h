#pragma once
// Process services: the TCP tables with owning process ids, the process snapshot, module
// paths, the first module's load address, the loaded modules, process memory, termination.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PathList.h"

namespace platform {

// Access rights, with the numbers Windows gives them.
constexpr std::uint32_t kProcessTerminate = 0x0001;
constexpr std::uint32_t kProcessVmRead = 0x0010;
constexpr std::uint32_t kProcessQueryInformation = 0x0400;
constexpr std::uint32_t kProcessQueryLimitedInformation = 0x1000;

// MIB_TCP_STATE values.
constexpr std::uint32_t kTcpStateClosed = 1;
constexpr std::uint32_t kTcpStateListen = 2;
constexpr std::uint32_t kTcpStateSynSent = 3;
constexpr std::uint32_t kTcpStateEstab = 5;
constexpr std::uint32_t kTcpStateCloseWait = 8;
constexpr std::uint32_t kTcpStateTimeWait = 11;

enum class AddressFamily { V4, V6 };

struct TcpRow {
    std::uint32_t state = 0;
    AddressFamily family = AddressFamily::V4;
    std::array<std::uint8_t, 16> localAddress{};   // IPv4 uses the first four bytes, network order
    std::uint16_t localPort = 0;                  // host order
    std::array<std::uint8_t, 16> remoteAddress{};
    std::uint16_t remotePort = 0;
    std::uint32_t owningPid = 0;
};

// The system's TCP-table function, found once at start. The table is sorted, as the program asks.
class TcpTable {
public:
    virtual ~TcpTable() = default;
    // Whether the family can be listed on this system (IPv6 needs GetExtendedTcpTable).
    virtual bool Supports(AddressFamily family) const = 0;
    // nullopt when the system gives no table.
    virtual std::optional<std::vector<TcpRow>> Rows(AddressFamily family) = 0;
};

class Processes {
public:
    using Handle = std::uintptr_t;  // 0 = none
    virtual ~Processes() = default;

    // Loads the TCP-table function (GetExtendedTcpTable, else AllocateAndGetTcpExTableFromStack);
    // null when the system has neither. The returned object holds the library until destroyed.
    virtual std::unique_ptr<TcpTable> LoadTcpTable() = 0;

    // Whether NtQuerySystemInformation could be found in ntdll.dll.
    virtual bool HasSystemInformationQuery() = 0;
    // NtQuerySystemInformation(class, buffer, size, no return length); returns the NTSTATUS.
    virtual std::int32_t QuerySystemInformation(std::uint32_t infoClass, void* buffer,
                                                std::uint32_t size) = 0;

    virtual Handle Open(std::uint32_t pid, std::uint32_t access) = 0;
    virtual void Close(Handle process) = 0;
    // EnumProcessModules with room for one module handle; 0 when none comes back.
    virtual std::uintptr_t FirstModule(Handle process) = 0;
    // GetModuleFileNameExA; nullopt when the call wrote nothing.
    virtual std::optional<std::string> ModuleFileName(Handle process, std::uintptr_t module) = 0;
    // QueryFullProcessImageNameA where the system has it (Vista and later); nullopt otherwise.
    virtual std::optional<std::string> FullImageName(Handle process) = 0;
    // CreateToolhelp32Snapshot(TH32CS_SNAPMODULE) + Module32First: modBaseAddr of the first module.
    virtual std::optional<std::uintptr_t> FirstModuleBase(std::uint32_t pid) = 0;
    // The full paths of every module loaded in the process, the program first (a 64-bit build
    // sees a 32-bit process's own modules too); nullopt when the process cannot be opened for
    // query and read access or its module list cannot be read.
    virtual std::optional<PathList> LoadedModules(std::uint32_t pid) = 0;
    // ReadProcessMemory; false unless every byte was read.
    virtual bool ReadMemory(Handle process, std::uintptr_t address, void* buffer,
                            std::size_t size) = 0;
    virtual bool Terminate(Handle process, std::uint32_t exitCode) = 0;
};

class ProcessHandle {
public:
    ProcessHandle() = default;
    ProcessHandle(Processes& procs, Processes::Handle h) : procs_(&procs), h_(h) {}
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    ProcessHandle(ProcessHandle&& o) noexcept : procs_(o.procs_), h_(o.h_) { o.h_ = 0; }
    ProcessHandle& operator=(ProcessHandle&& o) noexcept {
        if (this != &o) { Reset(); procs_ = o.procs_; h_ = o.h_; o.h_ = 0; }
        return *this;
    }
    ~ProcessHandle() { Reset(); }
    void Reset() { if (h_ && procs_) procs_->Close(h_); h_ = 0; }
    Processes::Handle get() const { return h_; }
    explicit operator bool() const { return h_ != 0; }

private:
    Processes* procs_ = nullptr;
    Processes::Handle h_ = 0;
};

inline ProcessHandle OpenProcess(Processes& procs, std::uint32_t pid, std::uint32_t access) {
    return ProcessHandle(procs, procs.Open(pid, access));
}

}  // namespace platform
