#include "platform/win32/ui/controls/Win32Control.h"

#include <stdexcept>

#include "platform/win32/ui/Dpi.h"
#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

namespace {

constexpr const char* kControlProperty = "Zorvik.Control";

}  // namespace

std::string WindowText(HWND hwnd) {
    if (!hwnd) return {};
    const int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

Win32ControlCore::Win32ControlCore(Win32Window& form, const ControlSpec& desc,
                                   const ChildWindowSpec& child)
    : name_(desc.name), hint_(desc.hint), form_(form) {
    DWORD style = WS_CHILD | child.style;
    if (desc.visible) style |= WS_VISIBLE;
    if (!desc.enabled) style |= WS_DISABLED;
    const RECT b = ToPixels(desc.bounds, form.Dpi());
    hwnd_ = ::CreateWindowExA(child.exStyle, child.className, desc.text.c_str(), style, b.left,
                              b.top, b.right - b.left, b.bottom - b.top, form.ParentFor(desc),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(form.NewControlId())),
                              ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) throw std::runtime_error("cannot create the control " + desc.name);
    ::SetPropA(hwnd_, kControlProperty, this);
    // Every control is subclassed, if only to learn when its window is gone.
    original_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ControlCore::SubclassThunk)));
    ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form.Font()), FALSE);
}

Win32ControlCore::~Win32ControlCore() {
    // Normally the child window is gone already, with its parent; a control dropped alone
    // takes its window along.
    if (hwnd_) {
        ::RemovePropA(hwnd_, kControlProperty);
        if (original_) ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC,
                                           reinterpret_cast<LONG_PTR>(original_));
        ::DestroyWindow(hwnd_);
    }
}

Rect Win32ControlCore::ChildBounds() const {
    if (!hwnd_) return {};
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return FromPixels(r, form_.Dpi());
}

void Win32ControlCore::MoveChild(const Rect& bounds) {
    if (!hwnd_) return;
    const RECT r = ToPixels(bounds, form_.Dpi());
    ::MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    form_.UpdateHint(*this);
}

void Win32ControlCore::Rescale(const Rect& bounds, int oldDpi) {
    if (!hwnd_) return;
    ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.Font()), FALSE);
    MoveChild(bounds);
    OnDpiChanged(oldDpi);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32ControlCore::ShowChild(bool visible) {
    if (!hwnd_) return;
    ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    form_.UpdateHint(*this);
}

LRESULT Win32ControlCore::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallOriginal(message, wParam, lParam);
}

LRESULT Win32ControlCore::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(original_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Win32ControlCore::SubclassThunk(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    auto* self = static_cast<Win32ControlCore*>(::GetPropA(hwnd, kControlProperty));
    if (!self || !self->original_) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC original = self->original_;
        ::RemovePropA(hwnd, kControlProperty);
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        self->original_ = nullptr;
        self->hwnd_ = nullptr;
        return ::CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    try {
        return self->ControlProc(message, wParam, lParam);
    } catch (...) {
        // Handlers report their own errors; nothing may unwind through the system's code.
        return self->CallOriginal(message, wParam, lParam);
    }
}

}  // namespace platform::win32
