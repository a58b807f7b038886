#include "unit/engine/StartupMatch.h"

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"

namespace zorvik {
namespace {

bool Occurs(const std::string& part, const std::string& text) {
    return !part.empty() && text.find(part) != std::string::npos;
}

}  // namespace

StartupMatch::StartupMatch(const std::string& programFileName, const std::string& shortFileName)
    : longName_(AsciiLower(programFileName)), shortName_(AsciiLower(shortFileName)) {}

bool StartupMatch::Names(const std::string& text) const {
    const std::string lower = AsciiLower(text);
    return Occurs(longName_, lower) || Occurs(shortName_, lower);
}

bool StartupMatch::Disabled(const std::string& text) const {
    const std::string lower = AsciiLower(text);
    return Occurs(longName_ + kBackupSuffix, lower) || Occurs(shortName_ + kBackupSuffix, lower);
}

}  // namespace zorvik
