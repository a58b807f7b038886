#pragma once
// Processes through ntdll, the process-status functions, tool help and the kernel.
#include "platform/Processes.h"
#include "platform/win32/system/LibraryModule.h"

namespace platform::win32 {

class Win32Processes : public Processes {
public:
    Win32Processes();

    std::unique_ptr<TcpTable> LoadTcpTable() override;
    bool HasSystemInformationQuery() override;
    std::int32_t QuerySystemInformation(std::uint32_t infoClass, void* buffer,
                                        std::uint32_t size) override;
    Handle Open(std::uint32_t pid, std::uint32_t access) override;
    void Close(Handle process) override;
    std::uintptr_t FirstModule(Handle process) override;
    std::optional<std::string> ModuleFileName(Handle process, std::uintptr_t module) override;
    std::optional<std::string> FullImageName(Handle process) override;
    std::optional<std::uintptr_t> FirstModuleBase(std::uint32_t pid) override;
    std::optional<PathList> LoadedModules(std::uint32_t pid) override;
    bool ReadMemory(Handle process, std::uintptr_t address, void* buffer, std::size_t size) override;
    bool Terminate(Handle process, std::uint32_t exitCode) override;

private:
    using NtQuerySystemInformationFn = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    using QueryFullProcessImageNameAFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
    using EnumProcessModulesExFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD, DWORD);
    using GetModuleFileNameExAFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

    std::optional<PathList> EnumeratedModules(HANDLE process);

    LibraryModule ntdll_;
    NtQuerySystemInformationFn querySystemInformation_ = nullptr;
    LibraryModule kernel32_;
    QueryFullProcessImageNameAFn queryFullProcessImageName_ = nullptr;
    // psapi is a library the system maps itself only from Windows 7 on: looked up here.
    LibraryModule psapi_;
    EnumProcessModulesFn enumProcessModules_ = nullptr;
    EnumProcessModulesExFn enumProcessModulesEx_ = nullptr;
    GetModuleFileNameExAFn moduleFileName_ = nullptr;
};

}  // namespace platform::win32
