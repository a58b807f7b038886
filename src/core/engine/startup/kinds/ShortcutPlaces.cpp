#include <new>
#include <optional>
#include <string>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/engine/startup/kinds/RuleFolders.h"
#include "core/engine/startup/kinds/ShortcutKind.h"
#include "core/parse/ScriptText.h"
#include "core/parse/ShellLink.h"

namespace zorvik {

namespace {

constexpr const char* kShortcutExtension = ".lnk";

// The shortcut a file holds; none for one that is locked, too large or no shortcut.
std::optional<parse::ShellLink> ReadShortcut(platform::System& sys, const std::string& path) {
    try {
        // One byte past the limit tells a file that is too large without reading all of it.
        const std::optional<std::string> bytes = sys.files().ReadAt(path, 0, kShortcutSizeLimit + 1);
        if (!bytes || bytes->size() > kShortcutSizeLimit) return std::nullopt;
        return parse::ParseShellLink(*bytes);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

void ReadShortcut(PlaceReading& reading, const std::string& folder, const std::string& name,
                  bool disabled) {
    const std::optional<parse::ShellLink> link = ReadShortcut(reading.sys(), folder + "\\" + name);
    if (!link) return;
    const std::string target = reading.Expand(link->target);
    const std::string arguments = link->arguments.value_or("");
    const std::string shown = arguments.empty() ? target : target + " " + arguments;
    const std::uint32_t spot = reading.AddSpot(StartupKind::Lnk, folder, name, shown);
    reading.AddText(spot, target, name, disabled);
    reading.AddText(spot, arguments, name, disabled);
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
                const std::uint32_t spot = reading.AddSpot(StartupKind::Lnk, folder.path, entry.name);
                reading.AddScriptLines(spot, folder.path + "\\" + entry.name, entry.name);
            }
        }
    }
}

}  // namespace zorvik
