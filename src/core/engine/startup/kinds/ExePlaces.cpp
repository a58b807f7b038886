#include "core/base/untFunc.h"
#include "core/engine/modules/SystemFiles.h"
#include "core/engine/startup/kinds/ExeKind.h"

namespace zorvik {

void ReadExePlaces(const ScanRule& rule, PlaceReading& reading) {
    if (rule.path.empty()) return;
    StartupSpot spot;
    spot.kind = StartupKind::Exe;
    spot.where = GetWindowsDrive(reading.sys()) + rule.path;
    spot.namesPath = true;
    const std::string path = spot.where;
    reading.AddText(reading.AddSpot(std::move(spot)), path);
}

void JudgeExeHits(platform::System& sys, const std::string& programPath, ProcInfo& findings,
                  std::string& details) {
    if (findings.ExeList.empty()) return;
    const std::optional<std::string> reason = NotSystemFileReason(sys, programPath, true);
    if (!reason || reason->empty()) return;
    for (ExeStart& hit : findings.ExeList) hit.Replaced = *reason;
    details += kReplacedProgramVerdict;
}

}  // namespace zorvik
