#include "platform/win32/ui/controls/TextFit.h"

#include "platform/win32/ui/UiHandles.h"
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

namespace {

// The control's device context with its font selected; the old font goes back before the
// context is released.
class ControlDc {
public:
    explicit ControlDc(HWND control) : dc_(control) {
        const auto font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
        if (dc_.get() && font) old_ = ::SelectObject(dc_.get(), font);
    }
    ~ControlDc() {
        if (old_) ::SelectObject(dc_.get(), old_);
    }
    ControlDc(const ControlDc&) = delete;
    ControlDc& operator=(const ControlDc&) = delete;
    HDC get() const { return dc_.get(); }

private:
    ScopedWindowDc dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

int TextWidthIn(HWND control, const std::string& text) {
    if (!control || text.empty()) return 0;
    ControlDc dc(control);
    if (!dc.get()) return 0;
    SIZE extent{};
    if (!::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent))
        return 0;
    return extent.cx;
}

void WidenToText(HWND control, int extra) {
    // Statics and buttons draw "&" as the underline of the letter after it.
    const int needed = TextWidthIn(control, CaptionAsShown(WindowText(control)));
    if (needed <= 0) return;
    RECT r{};
    if (!::GetWindowRect(control, &r)) return;
    const int width = r.right - r.left;
    if (needed + extra <= width) return;
    ::SetWindowPos(control, nullptr, 0, 0, needed + extra, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace platform::win32
