#pragma once
// Lower-casing by the ASCII rule only: bytes 'A' to 'Z' become 'a' to 'z'; every other byte,
// letters of the ANSI code page included, stays as it is. Independent of the C locale.
#include <string>

namespace zorvik {

inline std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace zorvik
