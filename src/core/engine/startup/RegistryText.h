#pragma once
// Reading a registry value as a start-up text.
#include <optional>
#include <string>

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

}  // namespace zorvik
