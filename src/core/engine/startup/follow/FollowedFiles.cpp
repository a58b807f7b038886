#include "core/engine/startup/follow/FollowedFiles.h"

#include <algorithm>
#include <new>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/parse/ScriptText.h"
#include "core/parse/UnquotedCommand.h"

namespace zorvik {

namespace {

constexpr std::size_t kFirstRead = std::size_t{16} << 10;

}  // namespace

std::optional<std::string> ReadSmallFile(platform::System& sys, const std::string& path,
                                         std::size_t limit) {
    try {
        std::optional<std::string> bytes = sys.files().ReadAt(path, 0, kFirstRead);
        // One byte past the limit tells a file that is too large without reading all of it.
        if (bytes && bytes->size() == kFirstRead) bytes = sys.files().ReadAt(path, 0, limit + 1);
        if (!bytes || bytes->size() > limit) return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

bool IsExistingFile(platform::System& sys, const std::string& path) {
    if (path.empty()) return false;
    const std::optional<std::uint32_t> attributes = sys.files().Attributes(path);
    return attributes && (*attributes & platform::kAttrDirectory) == 0;
}

bool ExistingFiles::Holds(const std::string& path) {
    const auto [entry, added] = known_.try_emplace(AsciiLower(path), false);
    if (added) entry->second = IsExistingFile(sys_, path);
    return entry->second;
}

bool IsAbsolutePath(const std::string& path) {
    if (path.starts_with("\\\\")) return true;
    if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return false;
    return (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
}

const std::vector<std::string>* ScriptCache::Lines(platform::System& sys, const std::string& path) {
    auto [entry, added] = byPath_.try_emplace(AsciiLower(path));
    if (added) {
        // A folder does not open for reading: no test of its attributes is needed.
        if (const std::optional<std::string> bytes = ReadSmallFile(sys, path, kScriptSizeLimit))
            entry->second = parse::DecodeScriptText(*bytes).lines;
    }
    return entry->second ? &*entry->second : nullptr;
}

std::vector<std::string> ExistingScriptsNamed(
    ExistingFiles& files, const std::string& text,
    const std::function<std::string(const std::string&)>& expand) {
    std::vector<std::string> scripts;
    for (const std::vector<std::string>& names : parse::ScriptNamesIn(text)) {
        for (const std::string& name : names) {
            const std::string path = expand(name);
            if (!IsAbsolutePath(path) || !files.Holds(path)) continue;
            const auto samePath = [&](const std::string& s) {
                return AsciiLower(s) == AsciiLower(path);
            };
            const bool seen = std::any_of(scripts.begin(), scripts.end(), samePath);
            if (!seen) scripts.push_back(path);
            break;
        }
    }
    return scripts;
}

std::vector<ProgramInstead> ExistingProgramsInstead(ExistingFiles& files,
                                                    const std::string& expandedCommand) {
    std::vector<ProgramInstead> programs;
    for (const std::string& candidate : parse::UnquotedProgramCandidates(expandedCommand)) {
        if (!IsAbsolutePath(candidate)) continue;
        if (files.Holds(candidate)) programs.push_back({candidate, false});
        if (files.Holds(candidate + kBackupSuffix)) programs.push_back({candidate, true});
    }
    return programs;
}

}  // namespace zorvik
