#pragma once
// Texts between the system's wide calls and the ANSI code page, in which the rest of the
// program handles text.
#include <string>

namespace platform::win32 {

std::string ToAnsi(const wchar_t* text);
std::wstring WideFromAnsi(const std::string& text);

}  // namespace platform::win32
