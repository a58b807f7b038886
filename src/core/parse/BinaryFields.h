#pragma once
// Bounded reads of the fields of a little-endian binary file format: every read says whether the
// bytes were there, so that no size or offset taken from a file can lead past its end.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zorvik::parse {

// True when count bytes start at offset, without overflow for any offset and count.
inline bool HasBytes(std::string_view bytes, std::size_t offset, std::size_t count) {
    return offset <= bytes.size() && count <= bytes.size() - offset;
}

inline std::optional<std::uint16_t> ReadU16(std::string_view bytes, std::size_t offset) {
    if (!HasBytes(bytes, offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                      static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

inline std::optional<std::uint32_t> ReadU32(std::string_view bytes, std::size_t offset) {
    if (!HasBytes(bytes, offset, 4)) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

// The bytes from offset up to a zero byte, or nothing when no zero byte ends them in bytes.
inline std::optional<std::string_view> ZeroEndedAt(std::string_view bytes, std::size_t offset) {
    if (offset >= bytes.size()) return std::nullopt;
    const std::size_t zero = bytes.find('\0', offset);
    if (zero == std::string_view::npos) return std::nullopt;
    return bytes.substr(offset, zero - offset);
}

// The UTF-16 bytes from offset up to a zero character, or nothing when none ends them in bytes.
inline std::optional<std::string_view> Utf16ZeroEndedAt(std::string_view bytes,
                                                        std::size_t offset) {
    for (std::size_t at = offset; HasBytes(bytes, at, 2); at += 2) {
        if (bytes[at] == '\0' && bytes[at + 1] == '\0') return bytes.substr(offset, at - offset);
    }
    return std::nullopt;
}

}  // namespace zorvik::parse
