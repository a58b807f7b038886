#include "core/engine/process/ListedLevel.h"

#include <algorithm>

#include "core/engine/changes/StableKeys.h"
#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

bool AtOrAbove(const ProcessRow& row, VerdictLevel level) {
    return !row.verdict || row.verdict->level >= level;
}

std::map<std::string, VerdictLevel> LevelsByEntry(const ProcessList& list) {
    std::map<std::string, VerdictLevel> levels;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ProcessRow& row = list.At(i);
        if (!row.data || !row.verdict) continue;
        const VerdictLevel level = row.verdict->level;
        ForEachHit(*row.data, [&](StartupHit hit) {
            const auto [at, added] = levels.emplace(StableKeyOf(*row.data, hit), level);
            if (!added) at->second = std::max(at->second, level);
        });
    }
    return levels;
}

}  // namespace zorvik
