#include "core/parse/UnicodeText.h"

#include <cstdint>

#include "core/base/AnsiCodePage.h"

namespace zorvik::parse {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

unsigned char ByteAt(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

template <bool kBigEndian>
std::string Utf16ToAnsi(std::string_view bytes) {
    // Written into place: most texts are ASCII, and one append per character costs more than
    // the conversion itself.
    std::string out(bytes.size() / 2 + 1, '\0');
    std::size_t written = 0;
    auto unitAt = [&](std::size_t at) -> char32_t {
        const unsigned first = ByteAt(bytes, at), second = ByteAt(bytes, at + 1);
        return kBigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        const char32_t unit = unitAt(at);
        if (unit < 0x80) {
            out[written++] = static_cast<char>(unit);
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < bytes.size()) {
            const char32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out[written++] = '?';  // beyond the code page in any case
                at += 2;
                continue;
            }
        }
        out[written++] = (unit >= 0xD800 && unit <= 0xDFFF) ? '?' : AnsiByteOf(unit);
    }
    if (at < bytes.size()) out[written++] = '?';
    out.resize(written);
    return out;
}

// The length of the well-formed UTF-8 sequence starting at `at` and its character, or 0.
std::size_t Utf8Sequence(std::string_view bytes, std::size_t at, char32_t& character) {
    const unsigned char lead = ByteAt(bytes, at);
    std::size_t length = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, lowest = 0x80, character = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, lowest = 0x800, character = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, lowest = 0x10000, character = lead & 0x07;
    } else {
        return 0;
    }
    if (length > bytes.size() - at) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = ByteAt(bytes, at + i);
        if ((next & 0xC0) != 0x80) return 0;
        character = character << 6 | (next & 0x3F);
    }
    if (character < lowest || character > 0x10FFFF ||
        (character >= 0xD800 && character <= 0xDFFF)) {
        return 0;
    }
    return length;
}

std::string Utf8ToAnsi(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t character = 0;
        const std::size_t length =
            ByteAt(bytes, at) < 0x80 ? 0 : Utf8Sequence(bytes, at, character);
        if (length == 0) {
            out += bytes[at++];
        } else {
            out += AnsiByteOf(character);
            at += length;
        }
    }
    return out;
}

std::string_view MarkOf(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8: return kUtf8Mark;
        case TextEncoding::Utf16Le: return kUtf16LeMark;
        case TextEncoding::Utf16Be: return kUtf16BeMark;
        case TextEncoding::Ansi: break;
    }
    return {};
}

}  // namespace

TextEncoding EncodingByByteOrderMark(std::string_view bytes, TextEncoding fallback) {
    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        if (ByteOrderMarkLength(bytes, encoding) != 0) return encoding;
    }
    return fallback;
}

std::size_t ByteOrderMarkLength(std::string_view bytes, TextEncoding encoding) {
    const std::string_view mark = MarkOf(encoding);
    return !mark.empty() && bytes.substr(0, mark.size()) == mark ? mark.size() : 0;
}

std::string DecodeToAnsi(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8: return Utf8ToAnsi(bytes);
        case TextEncoding::Utf16Le: return Utf16ToAnsi<false>(bytes);
        case TextEncoding::Utf16Be: return Utf16ToAnsi<true>(bytes);
        case TextEncoding::Ansi: break;
    }
    return std::string(bytes);
}

std::string EncodeAnsi(std::string_view ansi, TextEncoding encoding) {
    if (encoding == TextEncoding::Ansi) return std::string(ansi);
    std::string out;
    for (const char c : ansi) {
        const char32_t character = UnicodeOfAnsiByte(static_cast<unsigned char>(c));
        if (encoding == TextEncoding::Utf8) {
            if (character < 0x80) {
                out += static_cast<char>(character);
            } else if (character < 0x800) {
                out += static_cast<char>(0xC0 | character >> 6);
                out += static_cast<char>(0x80 | (character & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | character >> 12);
                out += static_cast<char>(0x80 | (character >> 6 & 0x3F));
                out += static_cast<char>(0x80 | (character & 0x3F));
            }
            continue;
        }
        const auto high = static_cast<char>(character >> 8);
        const auto low = static_cast<char>(character & 0xFF);
        out += encoding == TextEncoding::Utf16Be ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

std::string UpToFirstZero(std::string text) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    return text;
}

}  // namespace zorvik::parse
