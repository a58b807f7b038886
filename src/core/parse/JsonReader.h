#pragma once
// A strict JSON reader (RFC 8259) for documents a user hands the program, such as an earlier
// report: a file cut short, edited by hand or of another kind is refused with where and why,
// never half read. Text is UTF-8 (a byte order mark in front is passed over); strings come out
// as UTF-8 with their escapes resolved. Nesting deeper than kMaxJsonDepth and documents of more
// than kMaxJsonValues values are refused rather than read, so no input costs unbounded stack
// or memory.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::parse {

constexpr int kMaxJsonDepth = 64;
constexpr std::size_t kMaxJsonValues = std::size_t{1} << 20;

struct JsonValue {
    enum class Type : std::uint8_t { Null, Bool, Number, String, Array, Object };

    Type type = Type::Null;
    bool boolean = false;
    std::string text;                // String: its text; Number: as written
    std::vector<JsonValue> items;    // Array: its values; Object: its members' values
    std::vector<std::string> names;  // Object: its members' names, beside items

    // The value of the first member of that name; null when there is none or this is no object.
    const JsonValue* Member(const std::string& name) const;
};

struct JsonReading {
    std::optional<JsonValue> value;
    // Without a value: what is wrong, and where (line and column from 1, the column in bytes).
    std::string error;
    std::size_t line = 0;
    std::size_t column = 0;
};

JsonReading ReadJson(std::string_view text);

}  // namespace zorvik::parse
