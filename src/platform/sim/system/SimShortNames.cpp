#include "platform/sim/system/SimShortNames.h"

#include <string_view>

#include "platform/sim/system/SimText.h"

namespace platform::sim {

namespace {

bool IsForbiddenInShortName(char c) {
    static constexpr std::string_view kForbidden = " \"*+,/:;<=>?[\\]|";
    return static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos;
}

// Upper case, blanks and dots dropped, characters a short name cannot hold replaced by '_'.
std::string ShortNamePart(std::string_view part, std::size_t maxLength) {
    std::string out;
    for (char c : part) {
        if (out.size() >= maxLength) break;
        if (c == ' ' || c == '.') continue;
        out += IsForbiddenInShortName(c) ? '_' : ToUpperAscii(std::string(1, c))[0];
    }
    return out;
}

}  // namespace

bool IsLegalShortName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    std::size_t dot = name.find('.');
    if (dot != std::string::npos && name.find('.', dot + 1) != std::string::npos) return false;
    std::string_view base = std::string_view(name).substr(0, dot);
    std::string_view ext =
        dot == std::string::npos ? std::string_view() : std::string_view(name).substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
    if (dot != std::string::npos && ext.empty()) return false;  // "NAME." is not kept as such
    for (char c : name)
        if (c != '.' && IsForbiddenInShortName(c)) return false;
    return true;
}

std::string GenerateShortName(const std::string& longName,
                              const std::function<bool(const std::string&)>& taken) {
    std::size_t lastDot = longName.rfind('.');
    // A leading dot starts no extension (".profile" -> "PROFIL~1").
    if (lastDot == 0) lastDot = std::string::npos;
    std::string_view whole(longName);
    std::string base = ShortNamePart(whole.substr(0, lastDot), 8);
    std::string ext =
        lastDot == std::string::npos ? std::string() : ShortNamePart(whole.substr(lastDot + 1), 3);
    if (base.empty()) base.push_back('_');
    for (int n = 1;; ++n) {
        std::string tail = std::to_string(n);
        std::string candidate = base.substr(0, 7 - tail.size());
        candidate.append(1, '~').append(tail);
        if (!ext.empty()) candidate.append(1, '.').append(ext);
        if (!taken(candidate)) return candidate;
    }
}

}  // namespace platform::sim
