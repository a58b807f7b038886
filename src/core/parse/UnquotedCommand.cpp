#include "core/parse/UnquotedCommand.h"

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik::parse {

namespace {

// CreateProcess ends the program's name at a space or a tab.
constexpr std::string_view kBlanks = " \t";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The first blank from at on, or the first byte that is none; npos when there is none.
std::size_t FindBlank(std::string_view text, std::size_t at, bool blank) {
    for (; at < text.size(); ++at)
        if (IsBlank(text[at]) == blank) return at;
    return std::string_view::npos;
}
constexpr std::string_view kFolderEnds = kPathSeparators;

bool NamesMeantProgram(std::string_view part) {
    for (const std::string_view extension : kMeantProgramExtensions) {
        if (part.size() < extension.size()) continue;
        const std::string_view end = part.substr(part.size() - extension.size());
        bool same = true;
        for (std::size_t i = 0; i < end.size() && same; ++i)
            same = AsciiLowerChar(end[i]) == extension[i];
        if (same) return true;
    }
    return false;
}

// The name Windows tries for a part: ".exe" added when its file name has no extension.
std::string TriedName(std::string_view part) {
    const std::size_t folderEnd = part.find_last_of(kFolderEnds);
    const std::string_view fileName =
        folderEnd == std::string_view::npos ? part : part.substr(folderEnd + 1);
    std::string name(part);
    if (fileName.find('.') == std::string_view::npos) name += ".exe";
    return name;
}

}  // namespace

std::vector<std::string> UnquotedProgramCandidates(std::string_view command) {
    const std::size_t first = command.find_first_not_of(kBlanks);
    if (first == std::string_view::npos || command[first] == '"') return {};
    const std::string_view text =
        command.substr(first, command.find_last_not_of(kBlanks) - first + 1);
    if (text.substr(0, FindBlank(text, 0, true)).find_first_of(kFolderEnds) ==
        std::string_view::npos)
        return {};

    std::vector<std::string> candidates;
    for (std::size_t blank = FindBlank(text, 0, true); blank != std::string_view::npos;
         blank = FindBlank(text, FindBlank(text, blank, false), true)) {
        const std::string_view part = text.substr(0, blank);
        if (NamesMeantProgram(part)) return candidates;
        candidates.push_back(TriedName(part));
    }
    if (NamesMeantProgram(text)) return candidates;
    return {};
}

}  // namespace zorvik::parse
