#include "core/engine/verdict/Verdict.h"

#include <array>

#include "core/base/AsciiLower.h"

namespace zorvik {

namespace {

constexpr std::array<const char*, 4> kLevelNames = {"windows", "verified", "unverified",
                                                   "suspicious"};

}  // namespace

const char* VerdictLevelName(VerdictLevel level) {
    return kLevelNames.at(static_cast<std::size_t>(level));
}

std::optional<VerdictLevel> VerdictLevelFromName(const std::string& name) {
    const std::string lower = AsciiLower(name);
    for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
        if (lower == kLevelNames[i]) return static_cast<VerdictLevel>(i);
    }
    return std::nullopt;
}

std::string VerdictReasonsText(const Verdict& verdict, const std::string& separator) {
    std::string text;
    for (const VerdictReason& reason : verdict.reasons) {
        if (!text.empty()) text += separator;
        text += reason.text;
    }
    return text;
}

}  // namespace zorvik
