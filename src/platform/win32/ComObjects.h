#pragma once
// Owners for COM: the apartment of a thread, interface references, BSTRs, VARIANTs and what
// the COM task allocator hands out.
#include "platform/win32/WindowsApi.h"

#include <objbase.h>
#include <oleauto.h>

#include <utility>

#include "platform/win32/system/ScopedHandle.h"

namespace platform::win32 {

// COM on this thread for the owner's lifetime; balanced only when the start succeeded
// (S_FALSE, already started, counts and needs its own CoUninitialize too). A thread that runs
// COM in the other threading model already (RPC_E_CHANGED_MODE) can still use it.
class ComApartment {
public:
    ComApartment() : started_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (started_) ::CoUninitialize();
    }
    bool Started() const { return started_; }

private:
    bool started_;
};

// One reference to a COM object, released when the owner dies.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) { Reset(); p_ = std::exchange(o.p_, nullptr); }
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    // For the out-parameter of a creating call; drops what was held.
    Interface** Receive() {
        Reset();
        return &p_;
    }
    // The same object through another of its interfaces; empty when it has none.
    template <typename Other>
    ComPtr<Other> As() const {
        ComPtr<Other> other;
        if (p_) p_->QueryInterface(__uuidof(Other), reinterpret_cast<void**>(other.Receive()));
        return other;
    }
    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    Interface& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    Interface* p_ = nullptr;
};

// A BSTR the caller owns: one made from a text to pass in, or one a call handed out.
class ScopedBstr {
public:
    ScopedBstr() = default;
    explicit ScopedBstr(const wchar_t* text) : s_(::SysAllocString(text)) {}
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    ~ScopedBstr() { ::SysFreeString(s_); }
    BSTR* Receive() {
        ::SysFreeString(std::exchange(s_, nullptr));
        return &s_;
    }
    BSTR get() const { return s_; }
    // The text, or an empty one for a null BSTR (which COM counts as empty).
    const wchar_t* Text() const { return s_ ? s_ : L""; }

private:
    BSTR s_ = nullptr;
};

// A VARIANT cleared (its BSTR freed, its interface released) when the owner dies.
class ScopedVariant {
public:
    ScopedVariant() { ::VariantInit(&v_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    ~ScopedVariant() { ::VariantClear(&v_); }
    VARIANT* Receive() {
        ::VariantClear(&v_);
        return &v_;
    }
    const VARIANT& get() const { return v_; }

private:
    VARIANT v_;
};

// Memory a call allocated for its caller with CoTaskMemAlloc.
template <typename Pointer>
struct TaskMemoryTraits {
    using Value = Pointer;
    static Value None() { return nullptr; }
    static bool IsNone(Value p) { return p == nullptr; }
    static void Close(Value p) { ::CoTaskMemFree(p); }
};

using TaskWideText = Scoped<TaskMemoryTraits<LPWSTR>>;

}  // namespace platform::win32
