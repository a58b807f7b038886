#include "platform/win32/ui/controls/Win32Bevel.h"

namespace platform::win32 {

namespace {

ControlSpec WithoutText(ControlSpec desc) {
    desc.text.clear();
    return desc;
}

}  // namespace

Win32Bevel::Win32Bevel(Win32Window& form, const ControlSpec& desc)
    : Win32Control(form, WithoutText(desc), ChildWindowSpec{"STATIC", SS_LEFT, 0}) {}

void Win32Bevel::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);
}

LRESULT Win32Bevel::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = ::BeginPaint(Handle(), &ps);
            if (dc) Paint(dc);
            ::EndPaint(Handle(), &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return CallOriginal(message, wParam, lParam);
    }
}

}  // namespace platform::win32
