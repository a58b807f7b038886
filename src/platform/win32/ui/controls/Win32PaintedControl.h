#pragma once
// A control that draws all of itself, background included: Paint serves WM_PAINT (on the
// paint DC, owned for the one message) and WM_PRINTCLIENT (on the DC given), and the
// background is never erased apart, which would flicker.
#include "platform/win32/ui/UiHandles.h"
#include "platform/win32/ui/controls/Win32Control.h"

namespace platform::win32 {

template <class Base>
class Win32PaintedControl : public Win32Control<Base> {
public:
    using Win32Control<Base>::Win32Control;

protected:
    virtual void Paint(HDC dc) = 0;

    // A kind with messages of its own handles them and passes the rest here.
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_PAINT: {
                ScopedPaint paint(this->Handle());
                if (paint.Dc()) Paint(paint.Dc());
                return 0;
            }
            case WM_PRINTCLIENT:
                Paint(reinterpret_cast<HDC>(wParam));
                return 0;
            case WM_ERASEBKGND:
                return 1;
            default:
                return this->CallOriginal(message, wParam, lParam);
        }
    }
};

}  // namespace platform::win32
