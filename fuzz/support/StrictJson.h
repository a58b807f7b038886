#pragma once
// A strict JSON reader (RFC 8259) that only says whether a text is one well-formed value:
// no trailing commas, no leading zeros, no bare control characters in strings, nothing after
// the value but blanks. UTF-8 validity is checked apart (Utf8.h).
#include <string>

namespace fuzz {

bool IsStrictJson(const std::string& text);

}  // namespace fuzz
