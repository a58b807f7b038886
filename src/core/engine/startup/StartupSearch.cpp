#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/untFunc.h"
#include "core/engine/modules/ModuleNameMatcher.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupPass.h"
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

// Each program at the path, also once renamed to ".bak" while it runs, once.
void ProgramsAtPath(const std::unordered_multimap<std::string, std::uint32_t>& byPath,
                    const std::string& lowerPath, std::vector<std::uint32_t>& named) {
    named.clear();
    for (const std::string& path : {lowerPath, lowerPath + kBackupSuffix}) {
        const auto [first, last] = byPath.equal_range(path);
        for (auto it = first; it != last; ++it)
            if (std::find(named.begin(), named.end(), it->second) == named.end())
                named.push_back(it->second);
    }
}

}  // namespace

std::vector<StartupFindings> SearchStartups(const StartupPlaces& places,
                                            const std::vector<ProgramNames>& programs,
                                            const ModuleSearch* modules) {
    std::vector<StartupFindings> found(programs.size());
    if (programs.empty()) return found;
    ProgramNameMatcher matcher(programs);
    const std::unordered_multimap<std::string, std::uint32_t> byPath = ProgramsByPath(programs);
    std::vector<ProgramNameMatcher::Match> matches;
    std::vector<std::uint32_t> named;
    std::optional<ModuleNameMatcher> moduleMatcher;
    if (modules && modules->modules.size() == programs.size() && ComparesModules(places))
        moduleMatcher.emplace(modules->modules);
    std::vector<ModuleNameMatcher::Match> moduleMatches;
    // Per program: the last text that named it, counted from 1.
    std::vector<std::size_t> namedBy(programs.size(), 0);
    std::size_t textNumber = 0;

    for (const StartupText& text : places.texts) {
        ++textNumber;
        const StartupSpot& spot = places.spots.at(text.spot);
        // A place switched off as a whole (a disabled service) disables each of its hits.
        const bool off = text.disabled || spot.off;
        auto hit = [&](std::uint32_t p, bool namedDisabled, const std::string* module) {
            const bool disabled = namedDisabled || off;
            namedBy[p] = textNumber;
            StartupFindings& program = found[p];
            AppendStartupHit(places, text, disabled, program.info);
            if (module) {
                program.info.ModuleHits.push_back(
                    {spot.kind, RowOf(spot.kind).hits.count(program.info) - 1, *module});
            }
            ++program.hitCount;
            if (!disabled) program.allDisabled = false;
        };
        // A program run in place of an unquoted command, or one a place names by its whole
        // path, is the program at that path; a program of the same name elsewhere is another.
        if (text.runsInstead != kNoPath || spot.namesPath) {
            ProgramsAtPath(byPath, text.lower, named);
            for (const std::uint32_t p : named) hit(p, false, nullptr);
            continue;
        }
        matcher.Find(text.lower, matches);
        for (const ProgramNameMatcher::Match& match : matches)
            hit(match.program, match.disabled, nullptr);
        if (!spot.comparesModules || !moduleMatcher) continue;
        moduleMatcher->Find(text.lower, moduleMatches);
        for (const ModuleNameMatcher::Match& match : moduleMatches) {
            if (namedBy[match.program] == textNumber) continue;
            const std::string module(modules->modules[match.program][match.module]);
            if (modules->isSystemOwn && modules->isSystemOwn(module)) continue;
            hit(match.program, match.disabled, &module);
        }
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
