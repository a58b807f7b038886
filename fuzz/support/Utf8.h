#pragma once
// Whether bytes are well-formed UTF-8 (RFC 3629): shortest forms only, no surrogates, nothing
// past U+10FFFF.
#include <string>

namespace fuzz {

bool IsValidUtf8(const std::string& bytes);

}  // namespace fuzz
