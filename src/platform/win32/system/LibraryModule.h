#pragma once
// Owner of a library loaded with LoadLibraryA; FreeLibrary when it dies.
#include "platform/win32/WindowsApi.h"

#include <utility>

namespace platform::win32 {

class LibraryModule {
public:
    LibraryModule() = default;
    explicit LibraryModule(const char* name) : module_(::LoadLibraryA(name)) {}
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
