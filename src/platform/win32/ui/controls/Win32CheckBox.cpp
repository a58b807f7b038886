#include "platform/win32/ui/controls/Win32CheckBox.h"

#include "platform/win32/ui/Dpi.h"
#include "platform/win32/ui/Win32Window.h"
#include "platform/win32/ui/controls/TextFit.h"

namespace platform::win32 {

namespace {

// Between the box and the text the button leaves a gap, and its focus frame a pixel on each side.
constexpr int kCheckTextGap = 6;

}  // namespace

Win32CheckBox::Win32CheckBox(Win32Window& form, const ControlSpec& desc)
    : Win32Control(form, desc, ChildWindowSpec{"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0}) {
    FitText();
}

void Win32CheckBox::FitText() {
    const int dpi = Form().Dpi();
    WidenToText(Handle(), SystemMetricFor(SM_CXMENUCHECK, dpi) + ToPixels(kCheckTextGap, dpi));
}

void Win32CheckBox::OnDpiChanged(int oldDpi) {
    (void)oldDpi;
    FitText();
}

bool Win32CheckBox::Checked() const {
    return ::SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckBox::SetChecked(bool checked) {
    if (checked == Checked()) return;
    ::SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    // Called directly, not through the error handler: the code that set the box sees the
    // handler's exception.
    if (OnClick) {
        auto handler = OnClick;
        handler();
    }
}

bool Win32CheckBox::OnCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    Form().Fire(OnClick);
    return true;
}

}  // namespace platform::win32
