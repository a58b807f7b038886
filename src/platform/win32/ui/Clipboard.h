#pragma once
// The clipboard's text (CF_TEXT): put there for the user to paste elsewhere, and read back.
#include "platform/win32/WindowsApi.h"

#include <string>

namespace platform::win32 {

// Empties the clipboard, owned by owner from then on, and puts text there. False when the
// clipboard cannot be opened or takes no data; it is then left as it was or empty.
bool PutClipboardText(HWND owner, const std::string& text);

// The clipboard's CF_TEXT up to its first NUL; empty when it holds none or cannot be opened.
std::string ReadClipboardText(HWND owner);

}  // namespace platform::win32
