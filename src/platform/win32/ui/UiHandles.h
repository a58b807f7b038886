#pragma once
// Owners for the windowing system's objects: windows, menus, icons, GDI objects and paint DCs
// (COM's owners come along from ComObjects.h).
// Child windows need none of their own: they die with the window that holds them.
#include "platform/win32/WindowsApi.h"

#include <utility>

#include "platform/win32/ComObjects.h"
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

}  // namespace platform::win32
