#pragma once
// A horizontal bevel: a 2-pixel etched line, the shadow colour over the highlight. Drawn here
// rather than by SS_ETCHEDHORZ, which adds an edge and so grows the control past its bounds.
#include "platform/win32/ui/controls/Win32PaintedControl.h"

namespace platform::win32 {

class Win32Bevel : public Win32PaintedControl<Bevel> {
public:
    Win32Bevel(Win32Window& form, const ControlSpec& desc);

protected:
    void Paint(HDC dc) override;
};

}  // namespace platform::win32
