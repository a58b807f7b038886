#pragma once
// Whole numbers typed or stored as text by the user (the auto-scan interval).
#include <string>

namespace zorvik {

// The decimal integer the whole text spells: an optional sign, then digits, within the 32-bit
// range. Anything else (an empty text, blanks, other characters, too many digits) raises
// AppError "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);

}  // namespace zorvik
