#pragma once
// A shell call's HRESULT as the portable result, with the system's text for a failure.
#include "platform/win32/WindowsApi.h"

#include "platform/ShellNamespace.h"

namespace platform::win32 {

// FormatMessageA from the system's table for the code, without the line break and spaces it
// ends in; empty when the system has no text for it.
std::string SystemMessageText(HRESULT code);

// The code, with its text when it is a failure.
ShellResult ResultOf(HRESULT code);

}  // namespace platform::win32
