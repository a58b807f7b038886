#include "core/engine/verdict/RarePlaces.h"

#include <string_view>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik {

namespace {

enum class KeyMatch { Holds, EndsWith };

struct RarePlace {
    Sign sign;
    KeyMatch match;
    std::string_view key;        // lower-case, part of the hit's root and key
    std::string_view valueName;  // lower-case; empty: any value
    // The program Windows keeps there itself, which is no addition; empty: none.
    std::string_view defaultProgram;
};

constexpr RarePlace kRarePlaces[] = {
    {Sign::IfeoDebugger, KeyMatch::Holds, "\\image file execution options\\", "debugger", {}},
    {Sign::IfeoDebugger, KeyMatch::Holds, "\\image file execution options\\", "verifierdlls", {}},
    {Sign::SilentExitMonitor, KeyMatch::Holds, "\\silentprocessexit\\", {}, {}},
    {Sign::AppInit, KeyMatch::EndsWith, "\\windows nt\\currentversion\\windows", "appinit_dlls",
     {}},
    {Sign::WinlogonAddition, KeyMatch::EndsWith, "\\windows nt\\currentversion\\winlogon",
     "shell", "explorer.exe"},
    {Sign::WinlogonAddition, KeyMatch::EndsWith, "\\windows nt\\currentversion\\winlogon",
     "userinit", "userinit.exe"},
    {Sign::WinlogonAddition, KeyMatch::Holds, "\\currentversion\\policies\\system", "shell",
     "explorer.exe"},
    {Sign::BootVerification, KeyMatch::Holds, "\\control\\bootverificationprogram", {}, {}},
};

bool KeyMatches(const RarePlace& rare, const std::string& lowerPlace) {
    if (rare.match == KeyMatch::EndsWith) return std::string_view(lowerPlace).ends_with(rare.key);
    return lowerPlace.find(rare.key) != std::string::npos ||
           std::string_view(lowerPlace + "\\").ends_with(rare.key);
}

}  // namespace

std::optional<Sign> RarePlaceSign(const std::string& place, const std::string& valueName,
                                  const std::string& programPath) {
    const std::string lowerPlace = AsciiLower(place);
    const std::string lowerName = AsciiLower(valueName);
    const std::string program = AsciiLower(ProgramFileNameOf(programPath));
    for (const RarePlace& rare : kRarePlaces) {
        if (!KeyMatches(rare, lowerPlace)) continue;
        if (!rare.valueName.empty() && lowerName != rare.valueName) continue;
        if (!rare.defaultProgram.empty() && program == rare.defaultProgram) return std::nullopt;
        return rare.sign;
    }
    return std::nullopt;
}

}  // namespace zorvik
