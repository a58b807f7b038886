#pragma once
// ANSI texts (the program's single-byte texts) as UTF-8, for output read by other tools.
#include <string>

namespace zorvik {

// Converts by the Windows-1252 code page, the ANSI code page of western systems: bytes below
// 0x80 stay, 0x80 to 0x9F map as that code page defines them (the five it leaves undefined to
// the control characters of the same number, as Windows converts them), 0xA0 to 0xFF to the
// Latin-1 characters of the same number. Systems with another ANSI code page get a faithful
// byte-for-character mapping, though not their own letters above 0x7F.
std::string AnsiToUtf8(const std::string& ansi);

}  // namespace zorvik
