#include "platform/win32/Win32Bevel.h"

namespace platform::win32 {

Win32Bevel::Win32Bevel(Win32Window& form, const ControlSpec& spec)
    : Win32Control(form, spec, ChildWindowSpec{"STATIC", SS_ETCHEDHORZ, 0}) {}

}  // namespace platform::win32
