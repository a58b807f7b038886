#pragma once
// Wide text from the system in the ANSI code page, as the rest of the program handles text.
#include <string>

namespace platform::win32 {

std::string ToAnsi(const wchar_t* text);

}  // namespace platform::win32
