#include "core/report/StartupReport.h"

#include "core/base/PathParts.h"

namespace zorvik {
namespace {

std::string State(bool disabled) { return disabled ? "disabled" : "enabled"; }

}  // namespace

std::vector<std::string> DescribeHits(const ProcInfo& findings) {
    std::vector<std::string> lines;
    for (const RegStart& hit : findings.RegList) {
        const std::string value = hit.Name.empty() ? "(default value)" : "value \"" + hit.Name + "\"";
        lines.push_back("REG  " + hit.Root + "\\" + hit.Key + "  " + value + "  " + State(hit.Disabled));
    }
    for (const IniStart& hit : findings.IniList) {
        lines.push_back("INI  " + hit.FileName + "  [" + hit.Section + "]  " + hit.Ident + "  " +
                        State(hit.Disabled));
    }
    for (const FilStart& hit : findings.FolList)
        lines.push_back("FOL  " + hit.Path + "  " + State(hit.Disabled));
    for (const FilStart& hit : findings.FilList)
        lines.push_back("FIL  " + hit.Path + "  " + State(hit.Disabled));
    return lines;
}

std::string FileNamePart(const std::string& path) { return ProgramFileNameOf(path); }

}  // namespace zorvik
