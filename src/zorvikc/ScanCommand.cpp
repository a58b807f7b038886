// zorvikc scan [--csv | --json]: the scan the main window runs, without the window.
#include <exception>
#include <iostream>
#include <memory>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "core/base/FixedTexts.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/process/ProgramEvidence.h"
#include "core/report/SavedScanSettings.h"
#include "core/engine/ScanCycle.h"
#include "core/report/ScanReport.h"
#include "zorvikc/Commands.h"

namespace zorvikc {
namespace {

// The scan's own exit codes, for scripts: whether anything was listed.
constexpr int kExitNothingListed = 0;
constexpr int kExitListed = 1;
constexpr int kExitError = 2;

void PrintScanUsage(std::ostream& err) {
    err << "usage: zorvikc scan [--csv | --json]\n"
           "  lists the programs a scan finds, with their start-up entries (UTF-8)\n"
           "  exit code: 0 nothing listed, 1 programs listed, 2 error\n";
}

// CSV lines end in CR LF already; the console's text mode must not add a second CR.
void KeepLineEndsAsWritten(std::ostream& out) {
#ifdef _WIN32
    if (&out == &std::cout) {
        std::cout.flush();
        _setmode(_fileno(stdout), _O_BINARY);
    }
#else
    (void)out;
#endif
}

}  // namespace

int RunScanCommand(CommandContext& context) {
    zorvik::ReportFormat format = zorvik::ReportFormat::Text;
    if (context.args.size() > 1) {
        PrintScanUsage(context.err);
        return kExitError;
    }
    if (context.args.size() == 1) {
        if (context.args[0] == "--csv") {
            format = zorvik::ReportFormat::Csv;
        } else if (context.args[0] == "--json") {
            format = zorvik::ReportFormat::Json;
        } else {
            PrintScanUsage(context.err);
            return kExitError;
        }
    }

    try {
        platform::System& sys = context.sys;
        // The trusted list and Ignore Safe Start ups as the window last saved them.
        zorvik::SavedScanSettings settings = zorvik::ReadSavedScanSettings(sys);
        const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
        zorvik::ProcessList list;
        if (zorvik::ScanCycle(sys, table.get(), settings, settings, list) ==
            zorvik::ScanStatus::NoTcpTable) {
            context.err << zorvik::kNoTcpTableMessage << '\n';
            return kExitError;
        }
        zorvik::AddEvidence(sys, list);
        if (format == zorvik::ReportFormat::Csv) KeepLineEndsAsWritten(context.out);
        context.out << zorvik::FormatScanReport(list, format);
        context.out.flush();
        return list.Count() == 0 ? kExitNothingListed : kExitListed;
    } catch (const std::exception& e) {
        context.err << "zorvikc scan: " << e.what() << '\n';
        return kExitError;
    }
}

}  // namespace zorvikc
