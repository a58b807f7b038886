#include "platform/win32/system/Win32Processes.h"

#include "platform/win32/WindowsApi.h"
#include <tlhelp32.h>

#include <utility>

#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/system/Win32TcpTable.h"

namespace platform::win32 {
namespace {

HANDLE AsHandle(Processes::Handle process) { return reinterpret_cast<HANDLE>(process); }

constexpr DWORD kModuleFileNameBuffer = 1025;
constexpr int kSnapshotAttempts = 10;
constexpr std::int32_t kStatusNotImplemented = static_cast<std::int32_t>(0xC0000002u);
constexpr std::size_t kModuleListGuess = 256;
constexpr int kModuleListAttempts = 8;
constexpr DWORD kListModulesAll = 0x03;  // LIST_MODULES_ALL: a WOW64 process's own modules too

// A tool-help snapshot of the process's modules. The system asks callers to retry while the
// target's module list is changing.
UniqueHandle ModuleSnapshot(DWORD flags, std::uint32_t pid) {
    UniqueHandle snapshot;
    for (int attempt = 0; attempt < kSnapshotAttempts; ++attempt) {
        snapshot.Reset(::CreateToolhelp32Snapshot(flags, pid));
        if (snapshot || ::GetLastError() != ERROR_BAD_LENGTH) break;
    }
    return snapshot;
}

// The modules in a tool-help snapshot, for a process whose list the process-status functions
// cannot read. Paths here stop at MAX_PATH.
std::optional<PathList> SnapshotModules(std::uint32_t pid) {
    DWORD flags = TH32CS_SNAPMODULE;
#ifdef _WIN64
    // A 32-bit process's own modules; a 32-bit system, where this flag is unknown, has none.
    flags |= TH32CS_SNAPMODULE32;
#endif
    const UniqueHandle snapshot = ModuleSnapshot(flags, pid);
    if (!snapshot) return std::nullopt;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    PathList paths;
    for (BOOL more = ::Module32First(snapshot.get(), &entry); more;
         more = ::Module32Next(snapshot.get(), &entry))
        paths.Add(entry.szExePath);
    if (paths.empty()) return std::nullopt;
    return paths;
}

}  // namespace

Win32Processes::Win32Processes()
    : ntdll_("ntdll.dll"), kernel32_("kernel32.dll"), psapi_("psapi.dll") {
    querySystemInformation_ = ntdll_.Find<NtQuerySystemInformationFn>("NtQuerySystemInformation");
    // Vista and later only; XP answers without it.
    queryFullProcessImageName_ =
        kernel32_.Find<QueryFullProcessImageNameAFn>("QueryFullProcessImageNameA");
    // Vista and later (it shows a 64-bit caller a 32-bit process's own modules); XP has only
    // EnumProcessModules.
    enumProcessModulesEx_ = psapi_.Find<EnumProcessModulesExFn>("EnumProcessModulesEx");
    enumProcessModules_ = psapi_.Find<EnumProcessModulesFn>("EnumProcessModules");
    moduleFileName_ = psapi_.Find<GetModuleFileNameExAFn>("GetModuleFileNameExA");
}

std::unique_ptr<TcpTable> Win32Processes::LoadTcpTable() { return LoadWin32TcpTable(); }

bool Win32Processes::HasSystemInformationQuery() { return querySystemInformation_ != nullptr; }

std::int32_t Win32Processes::QuerySystemInformation(std::uint32_t infoClass, void* buffer,
                                                    std::uint32_t size) {
    if (!querySystemInformation_) return kStatusNotImplemented;
    return querySystemInformation_(infoClass, buffer, size, nullptr);
}

Processes::Handle Win32Processes::Open(std::uint32_t pid, std::uint32_t access) {
    return reinterpret_cast<Handle>(::OpenProcess(access, FALSE, pid));
}

void Win32Processes::Close(Handle process) {
    UniqueHandle owned(AsHandle(process));  // closed on leaving
}

std::uintptr_t Win32Processes::FirstModule(Handle process) {
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (!enumProcessModules_ || !enumProcessModules_(AsHandle(process), &first, sizeof first, &needed))
        return 0;
    return reinterpret_cast<std::uintptr_t>(first);
}

std::optional<std::string> Win32Processes::ModuleFileName(Handle process, std::uintptr_t module) {
    if (!moduleFileName_) return std::nullopt;
    std::string buffer(kModuleFileNameBuffer, '\0');
    DWORD n = moduleFileName_(AsHandle(process), reinterpret_cast<HMODULE>(module), buffer.data(),
                              kModuleFileNameBuffer);
    if (n == 0) return std::nullopt;
    buffer.resize(n);
    return buffer;
}

std::optional<std::string> Win32Processes::FullImageName(Handle process) {
    if (!queryFullProcessImageName_) return std::nullopt;
    std::string buffer(kModuleFileNameBuffer, '\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (queryFullProcessImageName_(AsHandle(process), 0, buffer.data(), &size)) {
            buffer.resize(size);
            return buffer;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= 32768)
            return std::nullopt;
        buffer.assign(buffer.size() * 4, '\0');
    }
}

// TH32CS_SNAPMODULE lists the modules of the caller's own bitness: a 64-bit build gets a
// 32-bit process's 64-bit module list, whose first entry is still the executable, so no
// TH32CS_SNAPMODULE32 is needed for the first module. A 32-bit build cannot list a 64-bit
// process at all (ERROR_PARTIAL_COPY); the process-status functions fail for it likewise.
std::optional<std::uintptr_t> Win32Processes::FirstModuleBase(std::uint32_t pid) {
    const UniqueHandle snapshot = ModuleSnapshot(TH32CS_SNAPMODULE, pid);
    if (!snapshot) return std::nullopt;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    if (!::Module32First(snapshot.get(), &entry)) return std::nullopt;
    return reinterpret_cast<std::uintptr_t>(entry.modBaseAddr);
}

std::optional<PathList> Win32Processes::LoadedModules(std::uint32_t pid) {
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return std::nullopt;
    if (auto paths = EnumeratedModules(process.get())) return paths;
    // A process still starting, or one of another bitness, may refuse the process-status
    // functions (ERROR_PARTIAL_COPY) and still give a snapshot.
    return SnapshotModules(pid);
}

// EnumProcessModules(Ex) with a buffer grown to the size it asks for; a list that keeps growing
// between calls is taken as far as the last buffer holds it.
std::optional<PathList> Win32Processes::EnumeratedModules(HANDLE process) {
    std::vector<HMODULE> modules(kModuleListGuess);
    DWORD filledBytes = 0;
    for (int attempt = 0; attempt < kModuleListAttempts; ++attempt) {
        const DWORD bytes = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
        DWORD needed = 0;
        const BOOL listed = enumProcessModulesEx_
            ? enumProcessModulesEx_(process, modules.data(), bytes, &needed, kListModulesAll)
            : enumProcessModules_ && enumProcessModules_(process, modules.data(), bytes, &needed);
        if (!listed) return std::nullopt;
        filledBytes = needed < bytes ? needed : bytes;
        if (needed <= bytes) break;
        modules.resize(needed / sizeof(HMODULE) + kModuleListGuess / 8);
    }
    modules.resize(filledBytes / sizeof(HMODULE));
    PathList paths;
    for (HMODULE module : modules) {
        // A module unloaded since the list was taken has no name any more.
        if (auto path = ModuleFileName(reinterpret_cast<Handle>(process),
                                       reinterpret_cast<std::uintptr_t>(module)))
            paths.Add(*path);
    }
    if (paths.empty()) return std::nullopt;
    return paths;
}

bool Win32Processes::ReadMemory(Handle process, std::uintptr_t address, void* buffer,
                                std::size_t size) {
    SIZE_T read = 0;
    if (!::ReadProcessMemory(AsHandle(process), reinterpret_cast<LPCVOID>(address), buffer, size,
                             &read))
        return false;
    return read == size;
}

bool Win32Processes::Terminate(Handle process, std::uint32_t exitCode) {
    return ::TerminateProcess(AsHandle(process), exitCode) != FALSE;
}

}  // namespace platform::win32
