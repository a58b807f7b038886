#include "core/engine/startup/StartupRows.h"

#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

std::vector<StartupRow> StartupRowsOf(const ProcInfo& findings) {
    std::vector<StartupRow> rows;
    ForEachHit(findings, [&](StartupHit hit) {
        const StartupKindRow& kind = RowOf(hit.kind);
        const std::string* module = HitModule(findings, hit);
        rows.push_back(StartupRow{hit.kind, kind.name, kind.columns(findings, hit.index), hit.index,
                                  kind.hits.isDisabled(findings, hit.index),
                                  module ? *module : std::string()});
    });
    return rows;
}

}  // namespace zorvik
