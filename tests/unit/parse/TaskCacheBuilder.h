#pragma once
// The Actions value of a task in the registry's task cache, built for tests.
#include <cstdint>
#include <string>

#include "unit/parse/ByteBuilder.h"

namespace parse_test {

// A length-counted UTF-16 text as the cache writes one.
inline std::string CachedText(const std::string& ascii) {
    return U32(static_cast<std::uint32_t>(ascii.size() * 2)) + Utf16(ascii);
}

// A program's action; version 3 and later end it in a flags word.
inline std::string ExecAction(const std::string& command, const std::string& arguments = "",
                              const std::string& folder = "", std::uint16_t version = 3) {
    return U16(0x6666) + CachedText("") + CachedText(command) + CachedText(arguments) +
           CachedText(folder) + (version >= 3 ? U16(0) : std::string());
}

// A COM handler's action for the class {01234567-89AB-CDEF-0123-456789ABCDEF}.
inline std::string ComHandlerAction(const std::string& data = "") {
    return U16(0x7777) + CachedText("") +
           std::string("\x67\x45\x23\x01\xAB\x89\xEF\xCD\x01\x23\x45\x67\x89\xAB\xCD\xEF", 16) +
           CachedText(data);
}

inline std::string CachedActionsValue(const std::string& actions, std::uint16_t version = 3,
                                      const std::string& context = "Author") {
    return U16(version) + CachedText(context) + actions;
}

}  // namespace parse_test
