#pragma once
// Owner of a library of the system folder (SystemLibrary.h); FreeLibrary when it dies.
#include "platform/win32/WindowsApi.h"
#include "platform/win32/system/SystemLibrary.h"

#include <utility>

namespace platform::win32 {

class LibraryModule {
public:
    LibraryModule() = default;
    // fileName: the library's file name alone ("version.dll"); it is taken from the system folder.
    explicit LibraryModule(const char* fileName) : module_(LoadSystemLibrary(fileName)) {}
    LibraryModule(const LibraryModule&) = delete;
    LibraryModule& operator=(const LibraryModule&) = delete;
    LibraryModule(LibraryModule&& o) noexcept : module_(std::exchange(o.module_, nullptr)) {}
    LibraryModule& operator=(LibraryModule&& o) noexcept {
        if (this != &o) { Reset(); module_ = std::exchange(o.module_, nullptr); }
        return *this;
    }
    ~LibraryModule() { Reset(); }

    void Reset() {
        if (module_) ::FreeLibrary(module_);
        module_ = nullptr;
    }
    HMODULE get() const { return module_; }
    explicit operator bool() const { return module_ != nullptr; }

    // The export of that name as a function pointer of type Fn; null when it is missing.
    template <typename Fn>
    Fn Find(const char* name) const {
        if (!module_) return nullptr;
        // GetProcAddress gives a generic function pointer; the caller names the real type.
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    }

private:
    HMODULE module_ = nullptr;
};

}  // namespace platform::win32
