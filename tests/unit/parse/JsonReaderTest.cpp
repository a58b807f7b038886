#include <gtest/gtest.h>

#include <string>

#include "core/parse/JsonReader.h"

namespace {

using zorvik::parse::JsonValue;
using zorvik::parse::kMaxJsonDepth;
using zorvik::parse::ReadJson;

std::string Nested(int levels, const std::string& inner) {
    return std::string(static_cast<std::size_t>(levels), '[') + inner +
           std::string(static_cast<std::size_t>(levels), ']');
}

// Every refusal says why and where; what is well-formed is read.
TEST(JsonReaderTest, RefusesWhatIsNotOneWellFormedValueAndSaysWhere) {
    struct Case {
        std::string text;
        std::string error;  // "": read
        std::size_t line = 0;
        std::size_t column = 0;
    };
    const Case cases[] = {
        {"{\"a\": [1, -0.5e+3, true, false, null, \"x\"]}", ""},
        {"\xEF\xBB\xBF{}", ""},
        {" \r\n\t7 ", ""},
        {"", "empty", 1, 1},
        {"\xEF\xBB\xBF", "no value", 1, 4},
        {"  \n ", "no value", 2, 2},
        {"{\"programs\": [", "ends where a value should follow", 1, 15},
        {"{\"a\": 1", "ends where ',' or '}' should follow", 1, 8},
        {"{\"a\" 1}", "':' expected", 1, 6},
        {"{\"a\": 1,}", "member name expected", 1, 9},
        {"[1,]", "value expected", 1, 4},
        {"[1 2]", "',' or ']' expected", 1, 4},
        {"{} {}", "more after the value", 1, 4},
        {"\"open", "ends within a string", 1, 6},
        {"\"a\nb\"", "control character in a string", 1, 3},
        {"\"\\x\"", "unknown escape", 1, 2},
        {"\"\\u12G4\"", "four hex digits expected", 1, 6},
        {"\"\\ud800\"", "lone high surrogate", 1, 2},
        {"\"\\udc00\"", "lone low surrogate", 1, 2},
        {"\"\xC3\x28\"", "not UTF-8", 1, 2},
        {"\"\xC0\xAF\"", "not UTF-8", 1, 2},
        {"\"\xED\xA0\x80\"", "not UTF-8", 1, 2},
        {"\xFF\xFE{\0}\0", "value expected", 1, 1},
        {"012", "number with a leading zero", 1, 2},
        {"1.", "ends within a number", 1, 3},
        {"-", "ends within a number", 1, 2},
        {"tru", "unknown word", 1, 1},
        {"nul1", "unknown word", 1, 1},
        {"{'a': 1}", "member name expected", 1, 2},
        {Nested(kMaxJsonDepth, "0"), ""},
        {Nested(kMaxJsonDepth + 1, "0"), "nested deeper than 64 levels", 1, 65},
    };
    for (const auto& c : cases) {
        const auto reading = ReadJson(c.text);
        EXPECT_EQ(reading.value.has_value(), c.error.empty()) << c.text;
        EXPECT_EQ(reading.error, c.error) << c.text;
        if (!c.error.empty()) {
            EXPECT_EQ(reading.line, c.line) << c.text;
            EXPECT_EQ(reading.column, c.column) << c.text;
        }
    }
}

TEST(JsonReaderTest, GivesTextsDecodedAndMembersInOrder) {
    const auto reading = ReadJson(
        "{\"path\": \"C:\\\\a\\\"b\\/\\b\\f\\n\\r\\t\\u0041\\u00e9\\u20ac\\ud83d\\ude00\xC3\xA9\","
        " \"n\": -12.5E-2, \"list\": [null, true], \"path\": \"second\"}");
    ASSERT_TRUE(reading.value) << reading.error;
    const JsonValue& doc = *reading.value;
    ASSERT_EQ(doc.type, JsonValue::Type::Object);
    EXPECT_EQ(doc.names, (std::vector<std::string>{"path", "n", "list", "path"}));
    ASSERT_NE(doc.Member("path"), nullptr);
    EXPECT_EQ(doc.Member("path")->text,
              "C:\\a\"b/\b\f\n\r\tA\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9");
    EXPECT_EQ(doc.Member("n")->type, JsonValue::Type::Number);
    EXPECT_EQ(doc.Member("n")->text, "-12.5E-2");
    const JsonValue& list = *doc.Member("list");
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[0].type, JsonValue::Type::Null);
    EXPECT_TRUE(list.items[1].boolean);
    EXPECT_EQ(doc.Member("none"), nullptr);
    EXPECT_EQ(list.Member("path"), nullptr);
    EXPECT_EQ(ReadJson(std::string("\"\\u0000\"")).value->text, std::string(1, '\0'));
}

}  // namespace
