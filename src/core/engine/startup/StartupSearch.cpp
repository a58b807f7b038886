#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"

#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupPass.h"
#include "core/base/untFunc.h"
#include "core/engine/untScan.h"

namespace zorvik {

namespace {

// The programs by their whole paths, lower-cased, long and short form.
std::unordered_multimap<std::string, std::uint32_t> ProgramsByPath(
    const std::vector<ProgramNames>& programs) {
    std::unordered_multimap<std::string, std::uint32_t> byPath;
    for (std::uint32_t p = 0; p < programs.size(); ++p) {
        const std::string longPath = AsciiLower(programs[p].programPath);
        const std::string shortPath = AsciiLower(programs[p].shortPath);
        if (!longPath.empty()) byPath.emplace(longPath, p);
        if (!shortPath.empty() && shortPath != longPath) byPath.emplace(shortPath, p);
    }
    return byPath;
}

void Record(const StartupPlaces& places, const StartupText& text, bool disabled,
            StartupFindings& program) {
    AppendStartupHit(places, text, disabled, program.info);
    ++program.hitCount;
    if (!disabled) program.allDisabled = false;
}

}  // namespace

std::vector<StartupFindings> SearchStartups(const StartupPlaces& places,
                                            const std::vector<ProgramNames>& programs) {
    std::vector<StartupFindings> found(programs.size());
    if (programs.empty()) return found;
    ProgramNameMatcher matcher(programs);
    const std::unordered_multimap<std::string, std::uint32_t> byPath = ProgramsByPath(programs);
    std::vector<ProgramNameMatcher::Match> matches;
    std::vector<std::uint32_t> named;
    for (const StartupText& text : places.texts) {
        // A place switched off as a whole (a disabled service) disables each of its hits.
        const bool off = text.disabled || places.spots.at(text.spot).off;
        if (text.runsInstead != kNoPath) {
            // The program at that path, also once renamed to ".bak" while it runs; a program
            // of the same name elsewhere is another program.
            named.clear();
            for (const std::string& path : {text.lower, text.lower + kBackupSuffix}) {
                const auto [first, last] = byPath.equal_range(path);
                for (auto it = first; it != last; ++it)
                    if (std::find(named.begin(), named.end(), it->second) == named.end())
                        named.push_back(it->second);
            }
            for (const std::uint32_t p : named) Record(places, text, off, found[p]);
            continue;
        }
        matcher.Find(text.lower, matches);
        for (const ProgramNameMatcher::Match& match : matches)
            Record(places, text, match.disabled || off, found[match.program]);
    }
    return found;
}

bool FinishStartups(const ScanOptions& options, const StartupFindings& found,
                    std::string& Details) {
    Details += std::to_string(found.hitCount) + " Start up\\s detected";
    if (options.IgnoreSafe() && found.allDisabled) return false;
    return found.hitCount > 0;
}

bool FindStartups(platform::System& sys, const ScanOptions& options,
                  const std::string& ProgramFileName, const std::string& ShortFileName,
                  ProcInfo& Findings, std::string& Details, const std::string& ProgramPath) {
    const StartupPlaces places = ReadStartupPlaces(sys);
    const std::string shortPath =
        ProgramPath.empty() ? std::string() : GetShortPath(sys, ProgramPath);
    std::vector<StartupFindings> found = SearchStartups(
        places, {ProgramNames{ProgramFileName, ShortFileName, ProgramPath, shortPath}});
    MoveHits(found.front().info, Findings);
    return FinishStartups(options, found.front(), Details);
}

}  // namespace zorvik
