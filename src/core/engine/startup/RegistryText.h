#pragma once
// Reading a registry value as a start-up text.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace zorvik {

inline bool IsTextType(platform::RegType type) {
    return type == platform::RegType::Sz || type == platform::RegType::ExpandSz;
}

// The value's text up to its first zero byte, stored form kept (REG_EXPAND_SZ not expanded).
// nullopt when the value does not exist or is not of a text type: such values are passed
// over, so that a planted number cannot stop a search.
std::optional<std::string> ReadTextValue(platform::Registry& reg, platform::Registry::Handle key,
                                         const std::string& name);

// Where one string of a REG_MULTI_SZ value lies in its data.
struct StringPiece {
    std::size_t offset = 0;
    std::size_t length = 0;
};

// The strings of a REG_MULTI_SZ value's data, up to the first empty one: Windows reads such a
// list only that far, so what follows it starts nothing. The last string needs no zero byte.
std::vector<StringPiece> MultiStringPieces(const std::string& data);

// The texts a value holds: a text value's text as ReadTextValue gives it, or each string of a
// REG_MULTI_SZ value; none for the other types.
std::vector<std::string> ValueTexts(const platform::RegValue& value);

}  // namespace zorvik
