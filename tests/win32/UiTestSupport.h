#pragma once
// Helpers for driving the real windowing services under a test: a system whose message boxes
// are recorded instead of shown, raw window geometry, message pumping, and off-screen drawing.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/System.h"
#include "platform/Ui.h"
#include "platform/win32/ui/controls/Win32Control.h"
#include "platform/win32/ui/UiHandles.h"
#include "platform/win32/ui/Win32Ui.h"

namespace uitest {

using platform::win32::MessageBoxCall;
using platform::win32::Win32Ui;

class UiTest : public ::testing::Test {
protected:
    UiTest() {
        ui.SetMessageBoxInterceptor([this](const MessageBoxCall& call) { boxes.push_back(call); });
    }

    std::unique_ptr<platform::System> sys = platform::CreateSystem();
    Win32Ui& ui = dynamic_cast<Win32Ui&>(sys->ui());
    std::vector<MessageBoxCall> boxes;
};

inline HWND HandleOf(const platform::Control& control) {
    return dynamic_cast<const platform::win32::Win32ControlCore&>(control).Handle();
}

inline HWND HandleOf(const platform::Window& window) {
    return static_cast<HWND>(window.NativeHandle());
}

// A child window's rectangle in its parent's client coordinates, as left, top, width, height.
inline platform::Rect RectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return platform::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

inline LONG_PTR StyleOf(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE); }
inline LONG_PTR ExStyleOf(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_EXSTYLE); }

// Handles messages until done() or the time is up; whether done() came true.
inline bool PumpUntil(platform::Ui& ui, const std::function<bool()>& done, int milliseconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        ui.ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline LPARAM PointParam(int x, int y) {
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// A mouse press and release at a client point, as the system delivers them. The release is
// queued first: a control that tracks the mouse inside its press handling finds it there;
// otherwise it is delivered right after the press.
inline void Click(HWND hwnd, int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
    PostMessageA(hwnd, up, 0, PointParam(x, y));
    SendMessageA(hwnd, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, PointParam(x, y));
    MSG release;
    if (PeekMessageA(&release, hwnd, up, up, PM_REMOVE)) DispatchMessageA(&release);
}

// A 32-bit top-down bitmap to draw a window into (WM_PRINTCLIENT) and read back.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_.Reset(CreateCompatibleDC(nullptr));
        bitmap_.Reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS,
                                       reinterpret_cast<void**>(&bits_), nullptr, 0));
        old_ = SelectObject(dc_.get(), bitmap_.get());
    }
    // The bitmap leaves the DC before either goes.
    ~Canvas() { SelectObject(dc_.get(), old_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_.get(); }
    void Draw(HWND hwnd) {
        GdiFlush();
        SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()),
                     PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        GdiFlush();
    }
    // Pixels of exactly this colour (a COLORREF) inside the rectangle.
    int Count(COLORREF colour, const RECT& area) const {
        const std::uint32_t wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) |
                                     GetBValue(colour);
        int count = 0;
        for (int y = std::max(0L, area.top); y < std::min<LONG>(height_, area.bottom); ++y)
            for (int x = std::max(0L, area.left); x < std::min<LONG>(width_, area.right); ++x)
                if ((bits_[y * width_ + x] & 0xFFFFFF) == wanted) ++count;
        return count;
    }

private:
    int width_;
    int height_;
    platform::win32::ScopedMemoryDc dc_;
    platform::win32::ScopedBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// Closes the dialog boxes this thread opens while a modal call runs: every `period` ms the
// callback gets each visible dialog window of the thread; it returns true once it has dealt
// with it. A dialog left open too long is cancelled, so that no test can hang.
class DialogWatcher {
public:
    using Callback = std::function<bool(HWND dialog)>;
    explicit DialogWatcher(Callback callback, UINT period = 50) : callback_(std::move(callback)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, period, &DialogWatcher::Tick);
    }
    ~DialogWatcher() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    int Seen() const { return seen_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogWatcher* self = current_;
        if (!self) return;
        EnumThreadWindows(GetCurrentThreadId(), &DialogWatcher::Visit,
                          reinterpret_cast<LPARAM>(self));
    }
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
        auto* self = reinterpret_cast<DialogWatcher*>(param);
        if (ClassOf(hwnd) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
        ++self->seen_;
        if (self->callback_(hwnd)) return TRUE;
        if (++self->patience_ > 200) PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }

    static inline DialogWatcher* current_ = nullptr;
    Callback callback_;
    UINT_PTR timer_ = 0;
    int seen_ = 0;
    int patience_ = 0;
};

}  // namespace uitest
