#include "platform/win32/ui/controls/Win32GroupBox.h"

#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

Win32GroupBox::Win32GroupBox(Win32Window& form, const ControlSpec& desc)
    // WS_EX_CONTROLPARENT: the dialog keys (Tab, arrows) walk into the controls inside.
    : Win32Control(form, WithoutText(desc),
                   ChildWindowSpec{"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT}) {}

LRESULT Win32GroupBox::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_VSCROLL:
        case WM_HSCROLL:
            return ::SendMessageA(Form().Handle(), message, wParam, lParam);
        default:
            return CallOriginal(message, wParam, lParam);
    }
}

}  // namespace platform::win32
