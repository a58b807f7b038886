#include "platform/win32/ui/Dpi.h"

#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

// The calls of user32 that only newer systems have; null where this one lacks them.
struct DpiCalls {
    GetDpiForWindowFn getDpiForWindow = nullptr;
    AdjustWindowRectExForDpiFn adjustWindowRectExForDpi = nullptr;
    GetSystemMetricsForDpiFn getSystemMetricsForDpi = nullptr;
};

template <class Fn>
Fn Lookup(HMODULE user32, const char* name) {
    // GetProcAddress gives a generic function pointer; the name fixes its real type.
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                  : nullptr;
}

const DpiCalls& Calls() {
    static const DpiCalls calls = [] {
        // user32 is loaded for as long as the program has windows: no reference is taken.
        HMODULE user32 = ::GetModuleHandleA("user32.dll");
        DpiCalls found;
        found.getDpiForWindow = Lookup<GetDpiForWindowFn>(user32, "GetDpiForWindow");
        found.adjustWindowRectExForDpi =
            Lookup<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
        found.getSystemMetricsForDpi =
            Lookup<GetSystemMetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
        return found;
    }();
    return calls;
}

int Usable(int dpi) { return dpi > 0 ? dpi : kLayoutDpi; }

}  // namespace

int ToPixels(int length, int dpi) { return ::MulDiv(length, Usable(dpi), kLayoutDpi); }

int FromPixels(int pixels, int dpi) { return ::MulDiv(pixels, kLayoutDpi, Usable(dpi)); }

int FromPixelsWithin(int pixels, int dpi) {
    const long long scaled = static_cast<long long>(pixels) * kLayoutDpi;
    const long long d = Usable(dpi);
    // Towards minus infinity, also for the negative coordinates left of a group box's edge.
    return static_cast<int>(scaled >= 0 ? scaled / d : -((-scaled + d - 1) / d));
}

RECT ToPixels(const Rect& bounds, int dpi) {
    return RECT{ToPixels(bounds.left, dpi), ToPixels(bounds.top, dpi),
                ToPixels(bounds.left + bounds.width, dpi),
                ToPixels(bounds.top + bounds.height, dpi)};
}

Rect FromPixels(const RECT& pixels, int dpi) {
    const int left = FromPixels(pixels.left, dpi);
    const int top = FromPixels(pixels.top, dpi);
    return Rect{left, top, FromPixels(pixels.right, dpi) - left,
                FromPixels(pixels.bottom, dpi) - top};
}

int SystemDpi() {
    const ScopedScreenDc screen(::GetDC(nullptr));
    return screen ? Usable(::GetDeviceCaps(screen.get(), LOGPIXELSX)) : kLayoutDpi;
}

int DpiOfWindow(HWND window) {
    if (window && Calls().getDpiForWindow) {
        const UINT dpi = Calls().getDpiForWindow(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

RECT OuterRectFor(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    RECT outer = client;
    if (Calls().adjustWindowRectExForDpi &&
        Calls().adjustWindowRectExForDpi(&outer, style, FALSE, exStyle,
                                         static_cast<UINT>(Usable(dpi)))) {
        return outer;
    }
    outer = client;
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return outer;
}

int SystemMetricFor(int index, int dpi) {
    if (Calls().getSystemMetricsForDpi)
        return Calls().getSystemMetricsForDpi(index, static_cast<UINT>(Usable(dpi)));
    return ::GetSystemMetrics(index);
}

}  // namespace platform::win32
