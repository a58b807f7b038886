#include "core/engine/startup/kinds/ProfileKind.h"

namespace zorvik {

void ReadProfilePlaces(const ScanRule& rule, PlaceReading& reading) {
    // Without a file, section and entry there is nothing to read; an empty name would
    // otherwise ask the profile reader for lists rather than an entry.
    if (rule.name.empty() || rule.section.empty() || rule.ident.empty()) return;
    const std::string text =
        reading.sys().profile().ReadString(rule.name, rule.section, rule.ident, "");
    if (text.empty()) return;
    reading.AddText(reading.AddSpot(StartupKind::Ini, rule.name, rule.section, rule.ident), text);
}

void WatchProfilePlaces(const ScanRule& rule, WatchedPlaceList& places) {
    if (!rule.name.empty()) places.AddFolderOf(rule.name);
}

EntryPlace ProfileEntryPlace(const IniStart& hit) {
    return {hit.FileName + " [" + hit.Section + "]", hit.Ident};
}

}  // namespace zorvik
