#include "core/report/StartupReport.h"

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupRows.h"
#include "core/engine/startup/kinds/BitsKind.h"
#include "core/engine/startup/kinds/ServiceKind.h"
#include "core/engine/startup/kinds/TaskKind.h"
#include "core/engine/startup/kinds/WmiKind.h"

namespace zorvik {
namespace {

std::string State(bool disabled) { return disabled ? "disabled" : "enabled"; }

// What follows the kind's name on a hit's line.
std::string HitFields(const ProcInfo& findings, StartupHit hit) {
    switch (hit.kind) {
        case StartupKind::Reg: {
            const RegStart& reg = findings.RegList[hit.index];
            return reg.Root + "\\" + reg.Key + "  " +
                   (reg.Name.empty() ? "(default value)" : "value \"" + reg.Name + "\"");
        }
        case StartupKind::Ini: {
            const IniStart& ini = findings.IniList[hit.index];
            return ini.FileName + "  [" + ini.Section + "]  " + ini.Ident;
        }
        case StartupKind::Svc: {
            const SvcStart& svc = findings.SvcList[hit.index];
            return svc.Root + "\\" + svc.Key + "  value \"" + svc.Value + "\"  start type " +
                   StartTypeText(svc.StartType);
        }
        case StartupKind::Task: {
            const TaskStart& task = findings.TaskList[hit.index];
            const std::string source = !task.CacheKey.empty()
                                           ? "(" + std::string(kTaskOnlyCached) + ": " +
                                                 task.CacheKey + ")"
                                       : task.File.empty() ? "(Task Scheduler)"
                                                           : "file " + task.File;
            return task.Task + "  " + source + "  " + task.Command;
        }
        case StartupKind::Wmi: {
            const WmiStart& wmi = findings.WmiList[hit.index];
            return wmi.Class + "  \"" + wmi.Name + "\"  " + wmi.Property + " \"" +
                   WmiCommandLine(wmi) + "\"";
        }
        case StartupKind::Bits: {
            const BitsStart& job = findings.BitsList[hit.index];
            return std::string(kBitsJobPlace) + " \"" + job.Job + "\"  " + job.Id + "  \"" +
                   job.Command + "\"";
        }
        case StartupKind::Fol:
        case StartupKind::Fil:
        case StartupKind::Lnk:
        case StartupKind::Exe:
        case StartupKind::Sdb:
        case StartupKind::Terminal:
            break;
    }
    // The start-up list's columns as they are.
    std::string fields;
    for (const std::string& column : RowOf(hit.kind).columns(findings, hit.index))
        fields += (fields.empty() ? "" : "  ") + column;
    return fields;
}

}  // namespace

std::vector<std::string> DescribeHits(const ProcInfo& findings) {
    std::vector<std::string> lines;
    ForEachHit(findings, [&](StartupHit hit) {
        const StartupKindRow& row = RowOf(hit.kind);
        std::string notes;
        for (const HitNote& note : HitNotes(*TrailOf(findings, hit)))
            notes += "  " + AsciiLower(note.label) + " " + note.text;
        const std::string* module = HitModule(findings, hit);
        if (module) notes += "  module \"" + *module + "\"";
        lines.push_back(std::string(row.name) + "  " + HitFields(findings, hit) + notes + "  " +
                        State(row.hits.isDisabled(findings, hit.index)));
    });
    return lines;
}

std::string FileNamePart(const std::string& path) { return ProgramFileNameOf(path); }

}  // namespace zorvik
