#pragma once
// The one reading of the program's ANSI texts as Unicode characters, both ways: by the
// Windows-1252 code page, the ANSI code page of western systems. Reports turn ANSI texts into
// UTF-8 with it, and parsers of Unicode files turn their texts into ANSI with it.
#include <cstdint>

namespace zorvik {

// The character an ANSI byte stands for: bytes below 0x80 and from 0xA0 on stand for the
// character of the same number; 0x80 to 0x9F as Windows-1252 defines them (the five it leaves
// undefined stand for the control characters of the same number, as Windows converts them).
char32_t UnicodeOfAnsiByte(unsigned char byte);

// The ANSI byte of a character, or '?' where the code page has none, as Windows writes a
// character its ANSI code page cannot hold. Systems with another ANSI code page get '?' for
// their own letters above 0x7F.
char AnsiByteOf(char32_t character);

}  // namespace zorvik
