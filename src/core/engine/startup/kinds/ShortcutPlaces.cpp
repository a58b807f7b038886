#include <optional>
#include <string>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/engine/startup/kinds/RuleFolders.h"
#include "core/engine/startup/follow/FollowedFiles.h"
#include "core/engine/startup/kinds/ShortcutKind.h"
#include "core/parse/ScriptText.h"
#include "core/parse/ShellLink.h"

namespace zorvik {

namespace {

constexpr const char* kShortcutExtension = ".lnk";

// The shortcut a file holds; none for one that is locked, too large or no shortcut.
std::optional<parse::ShellLink> ReadShortcut(platform::System& sys, const std::string& path) {
    const std::optional<std::string> bytes = ReadSmallFile(sys, path, kShortcutSizeLimit);
    if (!bytes) return std::nullopt;
    return parse::ParseShellLink(*bytes);
}

void ReadShortcut(PlaceReading& reading, const std::string& folder, const std::string& name,
                  bool disabled) {
    const std::optional<parse::ShellLink> link = ReadShortcut(reading.sys(), folder + "\\" + name);
    if (!link) return;
    const std::string target = reading.Expand(link->target);
    const std::string arguments = link->arguments.value_or("");
    const std::string shown = arguments.empty() ? target : target + " " + arguments;
    // The entry's name is the spot's: its texts need none of their own.
    const std::uint32_t spot = reading.AddSpot(StartupKind::Lnk, folder, name, shown);
    reading.AddText(spot, target, {}, disabled);
    reading.AddText(spot, arguments, {}, disabled);
}

}  // namespace

void ReadShortcutPlaces(const ScanRule& rule, PlaceReading& reading) {
    const std::string disabledExtension = kShortcutExtension + kBackupSuffix;
    for (const RuleFolder& folder : RuleFolders(rule, StartupKind::Lnk, reading)) {
        auto entries = reading.sys().files().List(folder.path + "\\*");
        if (!entries) continue;
        reading.SetAccountProfile(folder.accountProfile);
        for (const platform::FindEntry& entry : *entries) {
            if (entry.name.empty() || entry.name[0] == '.') continue;
            if (entry.attributes & platform::kAttrDirectory) continue;
            const std::string lower = AsciiLower(entry.name);
            if (lower.ends_with(kShortcutExtension)) {
                ReadShortcut(reading, folder.path, entry.name, false);
            } else if (lower.ends_with(disabledExtension)) {
                ReadShortcut(reading, folder.path, entry.name, true);
            } else if (reading.FollowsScripts() && parse::IsScriptFileName(entry.name)) {
                const std::uint32_t spot =
                    reading.AddSpot(StartupKind::Lnk, folder.path, entry.name);
                reading.AddScriptLines(spot, folder.path + "\\" + entry.name, {});
            }
        }
    }
}

void WatchShortcutPlaces(const ScanRule& rule, WatchedPlaceList& places) {
    WatchRuleFolders(rule, places);
}

}  // namespace zorvik
