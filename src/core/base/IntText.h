#pragma once
// Whole numbers typed or stored as text: the auto-scan interval the user types, the integers of
// Settings.ini. One reading of decimal text for both.
#include <string>

namespace zorvik {

// The decimal integer the whole text spells: an optional sign, then digits, within the 32-bit
// range. Anything else (an empty text, blanks, other characters, too many digits) raises
// AppError "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);

// The same reading without the error: true and value set when the whole text is such an
// integer; false and value untouched otherwise.
bool ParseDecimalInt(const std::string& text, int& value);

}  // namespace zorvik
