#pragma once
// A group box without caption that holds controls. The controls inside it report to it, so it
// passes their notifications on to its window.
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

class Win32GroupBox : public Win32Control<GroupBox> {
public:
    Win32GroupBox(Win32Window& form, const ControlSpec& desc);

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace platform::win32
