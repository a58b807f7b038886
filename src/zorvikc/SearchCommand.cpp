// zorvikc search PROGRAM: what the start-up search finds for one program, by its file name,
// by its path where given one, and for a DLL as a module loaded in a program with sockets.
#include <string>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/PathParts.h"
#include "core/engine/modules/ModuleNameMatcher.h"
#include "core/engine/startup/StartupPass.h"
#include "core/engine/startup/kinds/ExeKind.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/report/SavedScanSettings.h"
#include "core/report/StartupReport.h"
#include "core/base/untFunc.h"
#include "zorvikc/Commands.h"

namespace zorvikc {


int RunSearchCommand(CommandContext& context) {
    platform::System& sys = context.sys;
    std::ostream& out = context.out;
    if (context.args.size() != 1 || context.args[0].empty()) {
        context.err << "usage: zorvikc search PROGRAM\n"
                       "  PROGRAM: a program's path or file name, such as C:\\Tools\\prog.exe\n";
        return kExitUsage;
    }
    const std::string& program = context.args[0];

    const std::string programFileName = zorvik::FileNamePart(program);
    std::string shortFileName;
    std::string shortPath;
    if (zorvik::PathExists(sys, program)) {
        shortPath = zorvik::GetShortPath(sys, program);
        shortFileName = zorvik::FileNamePart(shortPath);
    }

    const std::string rulesFile = zorvik::RulesFilePath(sys);
    // "Ignore Safe Start ups" as the program saved it; the file is only read.
    const zorvik::SavedScanSettings settings = zorvik::ReadSavedScanSettings(sys);

    out << "Program file name:     " << programFileName << '\n';
    out << "Short file name:       " << (shortFileName.empty() ? "(none)" : shortFileName) << '\n';
    out << "Rules file:            " << rulesFile
        << (zorvik::PathExists(sys, rulesFile) ? "" : " (missing: nothing can be found)") << '\n';
    out << "Ignore Safe Start ups: " << (settings.ignoreSafe ? "on" : "off") << " ("
        << (settings.found ? settings.file : "no " + zorvik::kSettingsFileName) << ")\n\n";

    // Given by its path, the program is also found where Windows starts it by its path (EXE)
    // or runs it in place of an unquoted command; a DLL is also sought as a module loaded in a
    // program with sockets (Dlls=1).
    const bool byPath = !zorvik::ProgramFolderOf(program).empty();
    zorvik::ProgramNames names{programFileName, shortFileName, byPath ? program : "",
                               byPath ? shortPath : ""};
    zorvik::ModuleSearch modules;
    if (zorvik::AsciiLower(programFileName).ends_with(zorvik::kDllExtension))
        modules.modules = {{program}};
    const zorvik::StartupPlaces places = zorvik::ReadStartupPlaces(sys);
    std::vector<zorvik::StartupFindings> found = zorvik::SearchStartups(places, {names}, &modules);
    zorvik::ProcInfo findings;
    std::string details;
    zorvik::MoveHits(found.front().info, findings);
    const bool listed = zorvik::FinishStartups(settings, found.front(), details);
    if (byPath) zorvik::JudgeExeHits(sys, program, findings, details);

    for (const std::string& line : zorvik::DescribeHits(findings)) out << line << '\n';
    if (zorvik::HitCount(findings) > 0) out << '\n';
    out << "Details: " << details << '\n';
    out << (listed ? "Would be listed: yes" : "Would be listed: no") << '\n';
    return kExitOk;
}

}  // namespace zorvikc
