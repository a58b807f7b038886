#pragma once
// A push button.
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

class Win32Button : public Win32Control<Button> {
public:
    Win32Button(Win32Window& form, const ButtonSpec& desc);
    bool OnCommand(WORD code) override;
};

}  // namespace platform::win32
