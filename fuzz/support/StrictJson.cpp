#include "support/StrictJson.h"

#include <cstddef>

namespace fuzz {
namespace {

// Deeper nesting than any report writes is taken as malformed rather than recursed into.
constexpr int kMaxDepth = 64;

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : text_(text) {}

    bool Document() {
        Blanks();
        if (!Value(0)) return false;
        Blanks();
        return pos_ == text_.size();
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char c) {
        if (Peek() != c || AtEnd()) return false;
        ++pos_;
        return true;
    }
    void Blanks() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++pos_;
    }
    bool Word(const char* word) {
        for (const char* c = word; *c; ++c)
            if (!Take(*c)) return false;
        return true;
    }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    bool Digits() {
        if (!IsDigit(Peek())) return false;
        while (IsDigit(Peek())) ++pos_;
        return true;
    }

    bool Value(int depth) {
        if (depth > kMaxDepth || AtEnd()) return false;
        switch (Peek()) {
            case '{': return Object(depth);
            case '[': return Array(depth);
            case '"': return String();
            case 't': return Word("true");
            case 'f': return Word("false");
            case 'n': return Word("null");
            default: return Number();
        }
    }

    bool Object(int depth) {
        Take('{');
        Blanks();
        if (Take('}')) return true;
        for (;;) {
            Blanks();
            if (Peek() != '"' || !String()) return false;
            Blanks();
            if (!Take(':')) return false;
            Blanks();
            if (!Value(depth + 1)) return false;
            Blanks();
            if (Take('}')) return true;
            if (!Take(',')) return false;
        }
    }

    bool Array(int depth) {
        Take('[');
        Blanks();
        if (Take(']')) return true;
        for (;;) {
            Blanks();
            if (!Value(depth + 1)) return false;
            Blanks();
            if (Take(']')) return true;
            if (!Take(',')) return false;
        }
    }

    bool String() {
        Take('"');
        while (!AtEnd()) {
            const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c != '\\') continue;
            if (AtEnd()) return false;
            const char escape = text_[pos_++];
            if (escape == 'u') {
                for (int i = 0; i < 4; ++i) {
                    const char h = Peek();
                    const bool hex = IsDigit(h) || (h >= 'a' && h <= 'f') || (h >= 'A' && h <= 'F');
                    if (!hex || AtEnd()) return false;
                    ++pos_;
                }
            } else if (std::string("\"\\/bfnrt").find(escape) == std::string::npos) {
                return false;
            }
        }
        return false;
    }

    bool Number() {
        Take('-');
        if (Take('0')) {
            if (IsDigit(Peek())) return false;
        } else if (!Digits()) {
            return false;
        }
        if (Take('.') && !Digits()) return false;
        if (Peek() == 'e' || Peek() == 'E') {
            ++pos_;
            if (!Take('+')) Take('-');
            if (!Digits()) return false;
        }
        return true;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

}  // namespace

bool IsStrictJson(const std::string& text) { return JsonReader(text).Document(); }

}  // namespace fuzz
