#pragma once
// ANSI texts (the program's single-byte texts) as UTF-8, for output read by other tools.
#include <string>

namespace zorvik {

// Converts each byte by the program's one reading of ANSI texts (core/base/AnsiCodePage.h),
// the Windows-1252 code page. Systems with another ANSI code page get a faithful
// byte-for-character mapping, though not their own letters above 0x7F.
std::string AnsiToUtf8(const std::string& ansi);

}  // namespace zorvik
