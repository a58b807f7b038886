#include "core/engine/changes/StableKeys.h"

#include <vector>

#include "core/base/AsciiLower.h"
#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

namespace {

constexpr char kPartSeparator = '|';

void AppendPart(const std::string& part, std::string& key) {
    key += kPartSeparator;
    for (const char c : AsciiLower(part)) {
        if (c == kPartSeparator) {
            key += "%7c";
        } else if (c == '%') {
            key += "%25";
        } else {
            key += c;
        }
    }
}

}  // namespace

std::string StableKeyOf(const ProcInfo& findings, StartupHit hit) {
    const StartupKindRow& row = RowOf(hit.kind);
    const auto parts = row.keyParts ? row.keyParts : row.columns;
    std::string key = row.name;
    for (const std::string& part : parts(findings, hit.index)) AppendPart(part, key);
    return key;
}

const std::string& HitTextOf(const ProcInfo& findings, StartupHit hit) {
    return RowOf(hit.kind).hits.text(findings, hit.index);
}

void AddStartupEntries(const ProcInfo& findings, StartupEntries& entries) {
    ForEachHit(findings, [&](StartupHit hit) {
        entries[StableKeyOf(findings, hit)].insert(HitTextOf(findings, hit));
    });
}

}  // namespace zorvik
