// zorvikc search PROGRAM: what the start-up search finds for one program file name.
#include <string>

#include "core/base/FixedTexts.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/report/SavedScanSettings.h"
#include "core/report/StartupReport.h"
#include "core/base/untFunc.h"
#include "core/engine/untScan.h"
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
    // A program's whole path is what names it as run in place of an unquoted command.
    std::string programPath;
    if (zorvik::PathExists(sys, program)) {
        shortFileName = zorvik::FileNamePart(zorvik::GetShortPath(sys, program));
        programPath = program;
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

    zorvik::ProcInfo findings;
    std::string details;
    const bool listed =
        zorvik::FindStartups(sys, settings, programFileName, shortFileName, findings, details,
                             programPath);

    for (const std::string& line : zorvik::DescribeHits(findings)) out << line << '\n';
    if (zorvik::HitCount(findings) > 0) out << '\n';
    out << "Details: " << details << '\n';
    out << (listed ? "Would be listed: yes" : "Would be listed: no") << '\n';
    return kExitOk;
}

}  // namespace zorvikc
