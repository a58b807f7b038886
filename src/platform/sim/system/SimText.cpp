#include "platform/sim/system/SimText.h"

#include <cstdint>

namespace platform::sim {

namespace {
char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || (c >= 0x09 && c <= 0x0d) || c == 0x1a; }
}  // namespace

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperChar(c);
    return out;
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerChar(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != LowerChar(b[i])) return false;
    return true;
}

std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t separator = path.find_first_of("\\/");
        parts.emplace_back(path.substr(0, separator));
        if (separator == std::string_view::npos) return parts;
        path.remove_prefix(separator + 1);
    }
}

std::size_t NoCaseHash::operator()(std::string_view text) const {
    // FNV-1a over the lower-cased bytes.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(LowerChar(c))) * 1099511628211ull;
    return static_cast<std::size_t>(hash);
}

std::string TrimBlanks(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

}  // namespace platform::sim
