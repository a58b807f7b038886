#include "platform/win32/system/SystemLibrary.h"

#include <string>

#include "platform/win32/system/SystemText.h"

namespace platform::win32 {
namespace {

// Not in the headers of every MinGW: the values Windows documents.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAFn = BOOL(WINAPI*)(LPCSTR);

// kernel32 is in every process from its start and never unloaded: no load, only a look-up.
FARPROC KernelFunction(const char* name) {
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    return kernel ? ::GetProcAddress(kernel, name) : nullptr;
}

template <typename Fn>
Fn KernelFunctionAs(const char* name) {
    // GetProcAddress gives a generic function pointer; the caller names the real type.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(KernelFunction(name)));
}

}  // namespace

SystemFolderSearch SystemFolderSearchHere() {
    // The loader takes the search flags exactly where it has AddDllDirectory.
    return KernelFunction("AddDllDirectory") ? SystemFolderSearch::LoaderFlag
                                             : SystemFolderSearch::FullPath;
}

HMODULE LoadSystemLibrary(const char* fileName, SystemFolderSearch how) {
    if (how == SystemFolderSearch::LoaderFlag)
        return ::LoadLibraryExA(fileName, nullptr, kSearchSystem32);
    const std::string folder =
        SizedSystemText([](char* buf, DWORD size) { return ::GetSystemDirectoryA(buf, size); });
    if (folder.empty()) return nullptr;
    const std::string path = folder + "\\" + fileName;
    // With a full path, the altered search looks for the library's own dependencies in its
    // folder, not in the program's.
    return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void KeepLibrarySearchInSystemFolder() {
    if (const auto setDirectories = KernelFunctionAs<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories"))
        setDirectories(kSearchSystem32);
    // The empty text takes the current folder out of the search.
    if (const auto setDirectory = KernelFunctionAs<SetDllDirectoryAFn>("SetDllDirectoryA"))
        setDirectory("");
}

}  // namespace platform::win32
