#pragma once
// Controls sized to their one-line text: the system may substitute a wider font than the
// one the layout was drawn with, and a static or a check box then cuts or wraps its text.
#include "platform/win32/WindowsApi.h"

#include <string>

namespace platform::win32 {

// The width of text in the font the control draws with (WM_GETFONT); 0 when it cannot be
// measured.
int TextWidthIn(HWND control, const std::string& text);

// Widens the control, left edge kept, until its text and `extra` pixels beside it (a check
// box's box and gap) fit; never narrows it.
void WidenToText(HWND control, int extra);

}  // namespace platform::win32
