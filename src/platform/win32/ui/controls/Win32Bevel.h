#pragma once
// A horizontal bevel: a 2-pixel etched line, the shadow colour over the highlight. Drawn here
// rather than by SS_ETCHEDHORZ, which adds an edge and so grows the control past its bounds.
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

class Win32Bevel : public Win32Control<Bevel> {
public:
    Win32Bevel(Win32Window& form, const ControlSpec& desc);

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
};

}  // namespace platform::win32
