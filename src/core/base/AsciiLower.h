#pragma once
// Lower-casing by the ASCII rule only: bytes 'A' to 'Z' become 'a' to 'z'; every other byte,
// letters of the ANSI code page included, stays as it is. Independent of the C locale.
#include <string>

namespace zorvik {

inline char AsciiLowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLower(std::string text) {
    for (char& c : text) c = AsciiLowerChar(c);
    return text;
}

}  // namespace zorvik
