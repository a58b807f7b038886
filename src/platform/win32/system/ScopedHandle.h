#pragma once
// Owners for kernel objects and process-heap blocks. A kernel handle is "none" when it is NULL or INVALID_HANDLE_VALUE,
// because different calls use different failure values (CreateFileA and
// CreateToolhelp32Snapshot return INVALID_HANDLE_VALUE, OpenProcess returns NULL).
#include "platform/win32/WindowsApi.h"

#include <utility>

namespace platform::win32 {

template <typename Traits>
class Scoped {
public:
    using Value = typename Traits::Value;

    Scoped() = default;
    explicit Scoped(Value v) : v_(v) {}
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    Scoped(Scoped&& o) noexcept : v_(std::exchange(o.v_, Traits::None())) {}
    Scoped& operator=(Scoped&& o) noexcept {
        if (this != &o) { Reset(); v_ = std::exchange(o.v_, Traits::None()); }
        return *this;
    }
    ~Scoped() { Reset(); }

    void Reset(Value v = Traits::None()) {
        if (!Traits::IsNone(v_)) Traits::Close(v_);
        v_ = v;
    }
    Value get() const { return v_; }
    Value release() { return std::exchange(v_, Traits::None()); }
    explicit operator bool() const { return !Traits::IsNone(v_); }

private:
    Value v_ = Traits::None();
};

struct KernelHandleTraits {
    using Value = HANDLE;
    static Value None() { return nullptr; }
    static bool IsNone(Value h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Value h) { ::CloseHandle(h); }
};

// A FindFirstFileA search, closed with FindClose rather than CloseHandle.
struct FindHandleTraits {
    using Value = HANDLE;
    static Value None() { return INVALID_HANDLE_VALUE; }
    static bool IsNone(Value h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Value h) { ::FindClose(h); }
};

// A block of the process heap that a system call allocated for the caller.
struct ProcessHeapBlockTraits {
    using Value = PVOID;
    static Value None() { return nullptr; }
    static bool IsNone(Value p) { return p == nullptr; }
    static void Close(Value p) { ::HeapFree(::GetProcessHeap(), 0, p); }
};

using UniqueHandle = Scoped<KernelHandleTraits>;
using FindHandle = Scoped<FindHandleTraits>;
using ProcessHeapBlock = Scoped<ProcessHeapBlockTraits>;

}  // namespace platform::win32
