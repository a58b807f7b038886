#include "core/parse/JsonReader.h"

#include <utility>

namespace zorvik::parse {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Thrown to the top of the reading with the message and the offset it concerns.
struct Refusal {
    std::string message;
    std::size_t offset;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    JsonValue Document() {
        if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) pos_ = kByteOrderMark.size();
        Blanks();
        if (AtEnd()) Refuse(pos_ == 0 ? "empty" : "no value");
        JsonValue value = Value(0);
        Blanks();
        if (!AtEnd()) Refuse("more after the value");
        return value;
    }

private:
    [[noreturn]] void Refuse(std::string message) const { throw Refusal{std::move(message), pos_}; }
    [[noreturn]] void Refuse(std::string message, std::size_t offset) const {
        throw Refusal{std::move(message), offset};
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char c) {
        if (AtEnd() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    void Expect(char c, const char* what) {
        if (Take(c)) return;
        Refuse(AtEnd() ? std::string("ends where ") + what + " should follow"
                       : std::string(what) + " expected");
    }
    void Blanks() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++pos_;
    }

    JsonValue Value(int depth) {
        if (++values_ > kMaxJsonValues)
            Refuse("more than " + std::to_string(kMaxJsonValues) + " values");
        if (AtEnd()) Refuse("ends where a value should follow");
        JsonValue value;
        switch (Peek()) {
            case '{': Object(depth, value); break;
            case '[': Array(depth, value); break;
            case '"':
                value.type = JsonValue::Type::String;
                value.text = String();
                break;
            case 't':
            case 'f':
                value.type = JsonValue::Type::Bool;
                value.boolean = Peek() == 't';
                Word(value.boolean ? "true" : "false");
                break;
            case 'n': Word("null"); break;
            default:
                value.type = JsonValue::Type::Number;
                value.text = Number();
        }
        return value;
    }

    void Nest(int depth) const {
        if (depth >= kMaxJsonDepth)
            Refuse("nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
    }

    void Object(int depth, JsonValue& value) {
        Nest(depth);
        value.type = JsonValue::Type::Object;
        ++pos_;
        Blanks();
        if (Take('}')) return;
        for (;;) {
            Blanks();
            if (Peek() != '"') Refuse(AtEnd() ? "ends where a member name should follow"
                                              : "member name expected");
            value.names.push_back(String());
            Blanks();
            Expect(':', "':'");
            Blanks();
            value.items.push_back(Value(depth + 1));
            Blanks();
            if (Take('}')) return;
            Expect(',', "',' or '}'");
        }
    }

    void Array(int depth, JsonValue& value) {
        Nest(depth);
        value.type = JsonValue::Type::Array;
        ++pos_;
        Blanks();
        if (Take(']')) return;
        for (;;) {
            Blanks();
            value.items.push_back(Value(depth + 1));
            Blanks();
            if (Take(']')) return;
            Expect(',', "',' or ']'");
        }
    }

    void Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) Refuse("unknown word");
        pos_ += word.size();
    }

    void Digits() {
        if (!IsDigit(Peek())) Refuse(AtEnd() ? "ends within a number" : "digit expected");
        while (IsDigit(Peek())) ++pos_;
    }

    std::string Number() {
        const std::size_t start = pos_;
        const bool minus = Take('-');
        if (!minus && !IsDigit(Peek())) Refuse("value expected");
        if (Take('0')) {
            if (IsDigit(Peek())) Refuse("number with a leading zero");
        } else {
            Digits();
        }
        if (Take('.')) Digits();
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            Digits();
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    std::uint32_t Hex4() {
        std::uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = AtEnd() ? -1 : HexDigit(text_[pos_]);
            if (digit < 0) Refuse(AtEnd() ? "ends within an escape" : "four hex digits expected");
            code = code * 16 + static_cast<std::uint32_t>(digit);
            ++pos_;
        }
        return code;
    }

    void Escape(std::string& out) {
        const std::size_t start = pos_ - 1;
        if (AtEnd()) Refuse("ends within an escape");
        const char c = text_[pos_++];
        switch (c) {
            case '"': out += '"'; return;
            case '\\': out += '\\'; return;
            case '/': out += '/'; return;
            case 'b': out += '\b'; return;
            case 'f': out += '\f'; return;
            case 'n': out += '\n'; return;
            case 'r': out += '\r'; return;
            case 't': out += '\t'; return;
            case 'u': break;
            default: Refuse("unknown escape", start);
        }
        std::uint32_t code = Hex4();
        if (code >= 0xDC00 && code <= 0xDFFF) Refuse("lone low surrogate", start);
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (!Take('\\') || !Take('u')) Refuse("lone high surrogate", start);
            const std::uint32_t low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Refuse("lone high surrogate", start);
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(code, out);
    }

    // One UTF-8 sequence at pos_, whose lead byte is at or above 0x80: checked and copied.
    void Utf8Sequence(std::string& out) {
        const auto byte = [&](std::size_t i) {
            return static_cast<unsigned char>(pos_ + i < text_.size() ? text_[pos_ + i] : 0);
        };
        const unsigned char lead = byte(0);
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07, least = 0x10000;
        } else {
            Refuse("not UTF-8");
        }
        for (std::size_t i = 1; i < length; ++i) {
            if ((byte(i) & 0xC0) != 0x80) Refuse("not UTF-8");
            code = (code << 6) | (byte(i) & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            Refuse("not UTF-8");
        out.append(text_.substr(pos_, length));
        pos_ += length;
    }

    std::string String() {
        ++pos_;
        std::string out;
        for (;;) {
            if (AtEnd()) Refuse("ends within a string");
            const unsigned char c = static_cast<unsigned char>(text_[pos_]);
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (c < 0x20) Refuse("control character in a string");
            if (c == '\\') {
                ++pos_;
                Escape(out);
            } else if (c >= 0x80) {
                Utf8Sequence(out);
            } else {
                out += static_cast<char>(c);
                ++pos_;
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t values_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Member(const std::string& name) const {
    if (type != Type::Object) return nullptr;
    for (std::size_t i = 0; i < names.size() && i < items.size(); ++i)
        if (names[i] == name) return &items[i];
    return nullptr;
}

JsonReading ReadJson(std::string_view text) {
    JsonReading reading;
    try {
        reading.value = Reader(text).Document();
    } catch (const Refusal& refusal) {
        reading.error = refusal.message;
        reading.line = 1;
        reading.column = 1;
        for (std::size_t i = 0; i < refusal.offset && i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++reading.line;
                reading.column = 1;
            } else {
                ++reading.column;
            }
        }
    }
    return reading;
}

}  // namespace zorvik::parse
