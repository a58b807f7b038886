#include "core/base/IntText.h"

#include <cstdint>
#include <limits>

#include "core/base/Errors.h"

namespace zorvik {

int StrToInt(const std::string& text) {
    const auto fail = [&] { return AppError("'" + text + "' is not a valid integer value"); };
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) throw fail();
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                        : std::numeric_limits<int>::max();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') throw fail();
        value = value * 10 + (c - '0');
        if (value > limit) throw fail();
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace zorvik
