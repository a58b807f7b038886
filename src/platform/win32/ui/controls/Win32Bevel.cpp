#include "platform/win32/ui/controls/Win32Bevel.h"

namespace platform::win32 {

Win32Bevel::Win32Bevel(Win32Window& form, const ControlSpec& desc)
    : Win32PaintedControl(form, WithoutText(desc), ChildWindowSpec{"STATIC", SS_LEFT, 0}) {}

void Win32Bevel::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);
}

}  // namespace platform::win32
