#include "core/engine/startup/kinds/FolderKind.h"
#include "core/engine/startup/kinds/RuleFolders.h"
#include "core/parse/ScriptText.h"

namespace zorvik {

void ReadFolderPlaces(const ScanRule& rule, PlaceReading& reading) {
    for (const RuleFolder& folder : RuleFolders(rule, StartupKind::Fol, reading)) {
        auto entries = reading.sys().files().List(folder.path + "\\*");
        if (!entries) continue;
        reading.SetAccountProfile(folder.accountProfile);
        const std::uint32_t spot = reading.AddSpot(StartupKind::Fol, folder.path);
        for (const platform::FindEntry& entry : *entries) {
            // Passes over "." and ".." and every other name that begins with a dot.
            if (entry.name.empty() || entry.name[0] == '.') continue;
            reading.AddText(spot, entry.name, entry.name);
            if (reading.FollowsScripts() && parse::IsScriptFileName(entry.name))
                reading.AddScriptLines(spot, folder.path + "\\" + entry.name, entry.name);
        }
    }
}

void WatchFolderPlaces(const ScanRule& rule, WatchedPlaceList& places) {
    WatchRuleFolders(rule, places);
}

}  // namespace zorvik
