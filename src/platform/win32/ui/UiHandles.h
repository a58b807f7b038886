#pragma once
// Owners for the windowing system's objects: windows, menus, icons, GDI objects, paint DCs
// and COM.
// Child windows need none of their own: they die with the window that holds them.
#include "platform/win32/WindowsApi.h"

#include <objbase.h>

#include <utility>

#include "platform/win32/system/ScopedHandle.h"

namespace platform::win32 {

struct WindowTraits {
    using Value = HWND;
    static Value None() { return nullptr; }
    static bool IsNone(Value w) { return w == nullptr; }
    static void Close(Value w) { ::DestroyWindow(w); }
};

struct MenuTraits {
    using Value = HMENU;
    static Value None() { return nullptr; }
    static bool IsNone(Value m) { return m == nullptr; }
    static void Close(Value m) { ::DestroyMenu(m); }
};

// Icons made by LoadImage without LR_SHARED, CopyImage or ExtractIconEx: the caller owns them.
struct IconTraits {
    using Value = HICON;
    static Value None() { return nullptr; }
    static bool IsNone(Value i) { return i == nullptr; }
    static void Close(Value i) { ::DestroyIcon(i); }
};

template <typename Gdi>
struct GdiObjectTraits {
    using Value = Gdi;
    static Value None() { return nullptr; }
    static bool IsNone(Value g) { return g == nullptr; }
    static void Close(Value g) { ::DeleteObject(g); }
};

// A memory device context (CreateCompatibleDC), deleted rather than released.
struct MemoryDcTraits {
    using Value = HDC;
    static Value None() { return nullptr; }
    static bool IsNone(Value dc) { return dc == nullptr; }
    static void Close(Value dc) { ::DeleteDC(dc); }
};
// The screen's device context (GetDC(nullptr)), released rather than deleted.
struct ScreenDcTraits {
    using Value = HDC;
    static Value None() { return nullptr; }
    static bool IsNone(Value dc) { return dc == nullptr; }
    static void Close(Value dc) { ::ReleaseDC(nullptr, dc); }
};
using ScopedMemoryDc = Scoped<MemoryDcTraits>;
using ScopedScreenDc = Scoped<ScreenDcTraits>;

// A window's device context (GetDC(window)), given back to that same window: the release
// needs the window as well as the DC, which one Scoped value cannot carry.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    ~ScopedWindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
using ScopedBitmap = Scoped<GdiObjectTraits<HBITMAP>>;

using ScopedWindow = Scoped<WindowTraits>;
using ScopedMenu = Scoped<MenuTraits>;
using ScopedIcon = Scoped<IconTraits>;
using ScopedFont = Scoped<GdiObjectTraits<HFONT>>;
using ScopedBrush = Scoped<GdiObjectTraits<HBRUSH>>;

// The device context of one WM_PAINT: BeginPaint at birth, EndPaint at the end (also when the
// drawing throws), which validates the region so that the message stops coming. Dc() is
// nullptr when BeginPaint found nothing to paint on.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    ~ScopedPaint() { ::EndPaint(window_, &paint_); }
    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// COM on this thread for the owner's lifetime; balanced only when the start succeeded
// (S_FALSE, already started, counts and needs its own CoUninitialize too).
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
    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    Interface* p_ = nullptr;
};

}  // namespace platform::win32
