#include <string>
#include <vector>

#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupPass.h"
#include "core/engine/untScan.h"

namespace zorvik {

std::vector<StartupFindings> SearchStartups(const StartupPlaces& places,
                                            const std::vector<ProgramNames>& programs) {
    std::vector<StartupFindings> found(programs.size());
    if (programs.empty()) return found;
    ProgramNameMatcher matcher(programs);
    std::vector<ProgramNameMatcher::Match> matches;
    for (const StartupText& text : places.texts) {
        matcher.Find(text.lower, matches);
        const bool placeOff = places.spots.at(text.spot).off;
        for (const ProgramNameMatcher::Match& match : matches) {
            StartupFindings& program = found[match.program];
            const bool disabled = match.disabled || placeOff;
            AppendStartupHit(places, text, disabled, program.info);
            ++program.hitCount;
            if (!disabled) program.allDisabled = false;
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
