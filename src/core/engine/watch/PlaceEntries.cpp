#include "core/engine/watch/PlaceEntries.h"

#include <vector>

#include "core/engine/changes/StableKeys.h"

namespace zorvik {

EntryPlace EntryPlaceOf(const ProcInfo& findings, StartupHit hit) {
    const StartupKindRow& row = RowOf(hit.kind);
    if (row.entryPlace) return row.entryPlace(findings, hit.index);
    const auto partsOf = row.keyParts ? row.keyParts : row.columns;
    const std::vector<std::string> parts = partsOf(findings, hit.index);
    EntryPlace where;
    if (parts.empty()) return where;
    if (parts.size() > 1) where.name = parts.back();
    const std::size_t placeParts = parts.size() > 1 ? parts.size() - 1 : 1;
    for (std::size_t i = 0; i < placeParts; ++i) {
        if (i > 0) where.place += '\\';
        where.place += parts[i];
    }
    return where;
}

PlaceEntries EntriesOf(const StartupPlaces& places) {
    // Every text as a hit of one program, so each kind records and names it as for a hit.
    ProcInfo all;
    for (const StartupText& text : places.texts)
        AppendStartupHit(places, text, /*disabled=*/false, all);
    PlaceEntries entries;
    ForEachHit(all, [&](StartupHit hit) {
        const std::string key = StableKeyOf(all, hit);
        entries.texts[key].insert(HitTextOf(all, hit));
        if (!entries.facts.contains(key))
            entries.facts[key] = {RowOf(hit.kind).name, EntryPlaceOf(all, hit)};
    });
    return entries;
}

}  // namespace zorvik
