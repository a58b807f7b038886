#pragma once
// The windows are laid out in pixels of a 96-dpi screen; on the screen they have the pixels of
// their monitor's resolution. The conversions between the two, and the system's answers for a
// given resolution. The calls that take a resolution came with Windows 10: they are looked up
// in user32 when first needed, and without them every window has the system's resolution, for
// which the plain calls answer.
#include "platform/win32/WindowsApi.h"

#include "platform/Widgets.h"

namespace platform::win32 {

constexpr int kLayoutDpi = 96;
// Sent to a top-level window whose resolution changed (Windows 8.1 and later); the headers of
// this build declare it for newer targets only.
constexpr UINT kDpiChangedMessage = 0x02E0;

// A layout length in pixels at `dpi`, and back, both rounded to the nearest pixel: a length set
// and read again is the same, and nothing changes at 96 dpi.
int ToPixels(int length, int dpi);
int FromPixels(int pixels, int dpi);
// Back, rounded down: a length that covers no more than the pixels do (a client area).
int FromPixelsWithin(int pixels, int dpi);

// Rectangles by their edges, so that controls that touch at 96 dpi still touch, and controls
// apart stay apart.
RECT ToPixels(const Rect& bounds, int dpi);
Rect FromPixels(const RECT& pixels, int dpi);

// The resolution of the screen's device context: the system's.
int SystemDpi();
// The resolution of the monitor the window is on.
int DpiOfWindow(HWND window);
// The outer rectangle of a window of this style whose client area is `client`, at `dpi`.
RECT OuterRectFor(const RECT& client, DWORD style, DWORD exStyle, int dpi);
// GetSystemMetrics for `dpi`.
int SystemMetricFor(int index, int dpi);

}  // namespace platform::win32
