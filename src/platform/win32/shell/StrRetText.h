#pragma once
// The text of a STRRET, as IShellFolder::GetDisplayNameOf hands a name back.
#include "platform/win32/WindowsApi.h"

#include <shlobj.h>

#include <string>

namespace platform::win32 {

// By the STRRET's kind: a wide string (converted to the ANSI code page and freed with
// CoTaskMemFree, so the STRRET must not be read again), an ANSI text at an offset into the
// item's id list, or the 260-character ANSI buffer inside the STRRET (up to its first zero).
std::string TakeStrRetText(STRRET& name, LPCITEMIDLIST item);

}  // namespace platform::win32
