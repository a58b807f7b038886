#include "platform/win32/ui/controls/Win32Label.h"

#include <windowsx.h>

#include "platform/win32/ui/Dpi.h"
#include "platform/win32/ui/Win32Window.h"
#include "platform/win32/ui/controls/TextFit.h"

namespace platform::win32 {

Win32Label::Win32Label(Win32Window& form, const ControlSpec& desc)
    // SS_NOTIFY: without it a static lets the mouse through and reports no clicks.
    : Win32Control(form, desc, ChildWindowSpec{"STATIC", SS_LEFT | SS_NOTIFY, 0}) {
    // A static too narrow for its text wraps it onto a line below its height.
    WidenToText(Handle(), 0);
}

void Win32Label::OnDpiChanged(int oldDpi) {
    (void)oldDpi;
    if (underline_)
        ::SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Form().UnderlinedFont()), FALSE);
    WidenToText(Handle(), 0);
}

int Win32Label::TextWidth() const {
    // Rounded up: a width that shows every pixel of the text.
    const int pixels = TextWidthIn(Handle(), WindowText(Handle()));
    const int dpi = Form().Dpi();
    return (pixels * kLayoutDpi + dpi - 1) / dpi;
}

void Win32Label::SetFontColour(Colour colour) {
    if (colour == colour_) return;
    colour_ = colour;
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void Win32Label::SetUnderline(bool underline) {
    if (underline == underline_) return;
    underline_ = underline;
    HFONT font = underline ? Form().UnderlinedFont() : Form().Font();
    ::SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool Win32Label::OnCommand(WORD code) {
    if (code != STN_CLICKED) return false;
    Form().Fire(OnClick);
    return true;
}

HBRUSH Win32Label::OnColour(HDC dc) {
    ::SetTextColor(dc, colour_);
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT Win32Label::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) Form().Fire(OnMouseMove, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return CallOriginal(message, wParam, lParam);
}

}  // namespace platform::win32
