#include <string>
#include <unordered_map>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/engine/modules/ModuleNameMatcher.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupPass.h"
#include "core/engine/untScan.h"

namespace zorvik {

namespace {

// The programs by their full path, lower-cased, for the places that name a program so.
std::unordered_multimap<std::string, std::uint32_t> ProgramsByPath(
    const std::vector<ProgramNames>& programs) {
    std::unordered_multimap<std::string, std::uint32_t> byPath;
    for (std::uint32_t p = 0; p < programs.size(); ++p)
        if (!programs[p].path.empty()) byPath.emplace(AsciiLower(programs[p].path), p);
    return byPath;
}

}  // namespace

std::vector<StartupFindings> SearchStartups(const StartupPlaces& places,
                                            const std::vector<ProgramNames>& programs,
                                            const ModuleSearch* modules) {
    std::vector<StartupFindings> found(programs.size());
    if (programs.empty()) return found;
    ProgramNameMatcher matcher(programs);
    std::vector<ProgramNameMatcher::Match> matches;
    const std::unordered_multimap<std::string, std::uint32_t> byPath = ProgramsByPath(programs);
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
        auto hit = [&](std::uint32_t p, bool namedDisabled, const std::string* module) {
            // A place switched off as a whole (a disabled service) disables each of its hits.
            const bool disabled = namedDisabled || spot.off;
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
        if (spot.namesPath) {
            const auto [first, last] = byPath.equal_range(text.lower);
            for (auto it = first; it != last; ++it) hit(it->second, false, nullptr);
            continue;
        }
        matcher.Find(text.lower, matches);
        for (const ProgramNameMatcher::Match& match : matches)
            hit(match.program, match.disabled, nullptr);
        if (!spot.comparesModules || !moduleMatcher) continue;
        moduleMatcher->Find(text.lower, moduleMatches);
        for (const ModuleNameMatcher::Match& match : moduleMatches) {
            if (namedBy[match.program] == textNumber) continue;
            const std::string& module = modules->modules[match.program][match.module];
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
                  ProcInfo& Findings, std::string& Details) {
    const StartupPlaces places = ReadStartupPlaces(sys);
    std::vector<StartupFindings> found =
        SearchStartups(places, {ProgramNames{ProgramFileName, ShortFileName}});
    MoveHits(found.front().info, Findings);
    return FinishStartups(options, found.front(), Details);
}

}  // namespace zorvik
