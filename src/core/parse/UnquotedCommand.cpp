#include "core/parse/UnquotedCommand.h"

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik::parse {

namespace {

// CreateProcess ends the program's name at a space or a tab.
constexpr std::string_view kBlanks = " \t";

bool NamesMeantProgram(const std::string& part) {
    const std::string lowerPart = AsciiLower(part);
    for (const std::string_view extension : kMeantProgramExtensions) {
        if (lowerPart.ends_with(extension)) return true;
    }
    return false;
}

// The name Windows tries for a part: ".exe" added when its file name has no extension.
std::string TriedName(const std::string& part) {
    return ProgramFileNameOf(part).find('.') == std::string::npos ? part + ".exe" : part;
}

}  // namespace

std::vector<std::string> UnquotedProgramCandidates(std::string_view command) {
    const std::size_t first = command.find_first_not_of(kBlanks);
    if (first == std::string_view::npos || command[first] == '"') return {};
    const std::string text(command.substr(first, command.find_last_not_of(kBlanks) - first + 1));
    if (ProgramFolderOf(text.substr(0, text.find_first_of(kBlanks))).empty()) return {};

    std::vector<std::string> candidates;
    for (std::size_t blank = text.find_first_of(kBlanks); blank != std::string::npos;
         blank = text.find_first_of(kBlanks, text.find_first_not_of(kBlanks, blank))) {
        const std::string part = text.substr(0, blank);
        if (NamesMeantProgram(part)) return candidates;
        candidates.push_back(TriedName(part));
    }
    if (NamesMeantProgram(text)) return candidates;
    return {};
}

}  // namespace zorvik::parse
