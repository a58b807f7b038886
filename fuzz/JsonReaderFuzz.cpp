// The JSON reader over any bytes: it reads exactly the strict JSON documents in UTF-8 (but for
// the nesting it refuses and escaped lone surrogates), and what it reads, written back as the
// reports write their texts, reads back the same. The baseline reader takes no document the
// JSON reader refuses, and says why it refuses one.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/parse/JsonReader.h"
#include "core/report/BaselineReport.h"
#include "core/report/ScanReport.h"
#include "support/FuzzCheck.h"
#include "support/StrictJson.h"
#include "support/Utf8.h"

namespace {

using zorvik::parse::JsonValue;

std::string Written(const JsonValue& value) {
    switch (value.type) {
        case JsonValue::Type::Null: return "null";
        case JsonValue::Type::Bool: return value.boolean ? "true" : "false";
        case JsonValue::Type::Number: return value.text;
        case JsonValue::Type::String: return zorvik::JsonString(value.text);
        case JsonValue::Type::Array:
        case JsonValue::Type::Object: break;
    }
    const bool object = value.type == JsonValue::Type::Object;
    std::string out = object ? "{" : "[";
    for (std::size_t i = 0; i < value.items.size(); ++i) {
        if (i > 0) out += ",";
        if (object) out += zorvik::JsonString(value.names.at(i)) + ":";
        out += Written(value.items[i]);
    }
    return out + (object ? "}" : "]");
}

bool Same(const JsonValue& a, const JsonValue& b) {
    if (a.type != b.type || a.boolean != b.boolean || a.text != b.text || a.names != b.names ||
        a.items.size() != b.items.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.items.size(); ++i)
        if (!Same(a.items[i], b.items[i])) return false;
    return true;
}

bool IsAllowedRefusal(const std::string& error) {
    return error.rfind("nested deeper", 0) == 0 || error.rfind("lone ", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string body = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : bytes;
    const bool strict = fuzz::IsStrictJson(body) && fuzz::IsValidUtf8(body);

    const auto reading = zorvik::parse::ReadJson(bytes);
    const zorvik::BaselineReading baseline = zorvik::ReadBaselineReport(bytes);
    FUZZ_CHECK(baseline.entries.has_value() == baseline.error.empty());
    if (!reading.value) {
        FUZZ_CHECK(!baseline.entries.has_value());
        FUZZ_CHECK(!reading.error.empty());
        FUZZ_CHECK(reading.line >= 1 && reading.column >= 1);
        FUZZ_CHECK(!strict || IsAllowedRefusal(reading.error));
        return 0;
    }
    FUZZ_CHECK(strict);
    const std::string written = Written(*reading.value);
    FUZZ_CHECK(fuzz::IsValidUtf8(written));
    const auto again = zorvik::parse::ReadJson(written);
    FUZZ_CHECK(again.value.has_value());
    FUZZ_CHECK(Same(*reading.value, *again.value));
    return 0;
}
