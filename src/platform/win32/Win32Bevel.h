#pragma once
// A horizontal bevel: a 2-pixel etched line.
#include "platform/win32/Win32Control.h"

namespace platform::win32 {

class Win32Bevel : public Win32Control<Bevel> {
public:
    Win32Bevel(Win32Window& form, const ControlSpec& spec);
};

}  // namespace platform::win32
