#include "core/base/IntText.h"

#include <cstdint>
#include <limits>

#include "core/base/Errors.h"

namespace zorvik {

bool ParseDecimalInt(const std::string& text, int& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    std::int64_t magnitude = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                        : std::numeric_limits<int>::max();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

int StrToInt(const std::string& text) {
    int value = 0;
    if (!ParseDecimalInt(text, value)) throw AppError("'" + text + "' is not a valid integer value");
    return value;
}

}  // namespace zorvik
