#pragma once
// Text helpers of the simulated system: Windows compares names without regard to ASCII case.
#include <string>
#include <string_view>
#include <vector>

namespace platform::sim {

std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Splits at every backslash (and slash, which Windows accepts as well); empty parts are kept.
std::vector<std::string> SplitPath(std::string_view path);
// Hashing and equality without regard to ASCII case, for maps of names that are looked up
// as written (heterogeneous lookup: no lower-cased copy per lookup).
struct NoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const;
};
struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};
// Removes blanks (space, tab, CR, LF, VT, FF, Ctrl-Z) from both ends.
std::string TrimBlanks(std::string_view text);

}  // namespace platform::sim
