#pragma once
// Little pieces for building the bytes of binary and Unicode files in tests.
#include <cstdint>
#include <string>

namespace parse_test {

inline std::string U16(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}

inline std::string U32(std::uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

// UTF-16 code units, little- or big-endian.
inline std::string Utf16(const std::u16string& text, bool bigEndian = false) {
    std::string bytes;
    for (const char16_t unit : text) {
        const std::string le = U16(unit);
        bytes += bigEndian ? std::string{le[1], le[0]} : le;
    }
    return bytes;
}

// An ASCII text as UTF-16LE units.
inline std::string Utf16(const std::string& ascii) {
    return Utf16(std::u16string(ascii.begin(), ascii.end()));
}

}  // namespace parse_test
