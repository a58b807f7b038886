#pragma once
// A one-line edit box whose typed characters pass a key filter first, and which reports each
// change of its text.
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

class Win32Edit : public Win32Control<Edit> {
public:
    Win32Edit(Win32Window& form, const ControlSpec& desc);
    bool OnCommand(WORD code) override;

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace platform::win32
