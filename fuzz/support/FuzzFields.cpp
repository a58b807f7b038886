#include "support/FuzzFields.h"

#include <algorithm>

namespace fuzz {

std::vector<std::string> SplitFields(const std::string& input, char separator,
                                     std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    while (fields.size() + 1 < maxFields) {
        const std::size_t at = input.find(separator, from);
        if (at == std::string::npos) break;
        fields.push_back(input.substr(from, at - from));
        from = at + 1;
    }
    fields.push_back(input.substr(from));
    return fields;
}

std::string FieldAt(const std::vector<std::string>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string();
}

std::uint32_t NumberOf(const std::string& text, std::uint32_t max) {
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(c - '0'), max);
    }
    return static_cast<std::uint32_t>(value);
}

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[i + 1];
        switch (next) {
            case 'n': out += '\n'; ++i; break;
            case 'r': out += '\r'; ++i; break;
            case 't': out += '\t'; ++i; break;
            case '0': out += '\0'; ++i; break;
            case '\\': out += '\\'; ++i; break;
            case 'x':
                if (i + 3 < text.size() && HexDigit(text[i + 2]) >= 0 && HexDigit(text[i + 3]) >= 0) {
                    out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
                    i += 3;
                } else {
                    out += '\\';
                }
                break;
            default: out += '\\';
        }
    }
    return out;
}

std::uint32_t ByteReader::Uint32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return value;
}

std::string ByteReader::ShortText(std::size_t maxLength) {
    const std::size_t length = std::min<std::size_t>({Byte(), maxLength, size_ - std::min(pos_, size_)});
    std::string text(reinterpret_cast<const char*>(data_) + std::min(pos_, size_), length);
    pos_ += length;
    return text;
}

std::string ByteReader::Rest() {
    if (pos_ >= size_) return {};
    std::string text(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
    pos_ = size_;
    return text;
}

}  // namespace fuzz
