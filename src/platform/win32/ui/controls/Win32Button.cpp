#include "platform/win32/ui/controls/Win32Button.h"

#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

Win32Button::Win32Button(Win32Window& form, const ButtonSpec& desc)
    : Win32Control(form, desc, ChildWindowSpec{"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0}) {}

bool Win32Button::OnCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    Form().Fire(OnClick);
    return true;
}

}  // namespace platform::win32
