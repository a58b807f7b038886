// zorvikc scan [--csv | --json] [--baseline FILE] [--level LEVEL] [--eventlog]: the scan the
// main window runs, without the window; against a baseline, only what changed since; at a level,
// only the programs whose verdict is at or above it; with --eventlog, one event per program
// listed in the Application log too.
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "core/base/FixedTexts.h"
#include "core/eventlog/EventSource.h"
#include "core/engine/process/ProcessList.h"
#include "core/engine/process/ProgramEvidence.h"
#include "core/report/AnsiUtf8.h"
#include "core/report/BaselineReport.h"
#include "core/report/SavedScanSettings.h"
#include "core/engine/ScanCycle.h"
#include "core/report/ScanReport.h"
#include "zorvikc/Commands.h"
#include "zorvikc/ScanOutput.h"

namespace zorvikc {
namespace {

// Beside the exit codes of ScanOutput.h.
constexpr int kExitError = 2;

void PrintScanUsage(std::ostream& err) {
    err << "usage: zorvikc scan [--csv | --json] [--baseline FILE] [--level LEVEL] [--eventlog]\n"
           "  lists the programs a scan finds, with their start-up entries and verdict (UTF-8)\n"
           "  --baseline FILE: only the entries added or changed since FILE, the report of an\n"
           "                   earlier zorvikc scan --json, and those removed\n"
           "  --level LEVEL:   only the programs whose verdict is LEVEL or above: windows,\n"
           "                   verified, unverified or suspicious (in that order)\n"
           "  --eventlog:      also one event per program listed in the Application log, under\n"
           "                   the source that zorvikc --install-eventlog-source registers\n"
           "  exit code: 0 nothing listed, 1 programs listed, 2 error;\n"
           "             with --baseline: 0 nothing added or changed, 1 some added or changed;\n"
           "             with --level: only programs at or above LEVEL count;\n"
           "             with --eventlog: 4 when the events could not be written\n";
}

struct ScanArguments {
    zorvik::ReportFormat format = zorvik::ReportFormat::Text;
    std::optional<std::string> baseline;
    std::optional<zorvik::VerdictLevel> level;
    bool eventLog = false;
};

// Nothing when the arguments are not the scan's; a level of no known name is told on err.
std::optional<ScanArguments> ReadScanArguments(const std::vector<std::string>& args,
                                               std::ostream& err) {
    ScanArguments read;
    bool formatGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--csv" || arg == "--json") {
            if (formatGiven) return std::nullopt;
            formatGiven = true;
            read.format = arg == "--csv" ? zorvik::ReportFormat::Csv : zorvik::ReportFormat::Json;
        } else if (arg == "--baseline" && i + 1 < args.size() && !read.baseline &&
                   !args[i + 1].empty()) {
            read.baseline = args[++i];
        } else if (arg == "--level" && i + 1 < args.size() && !read.level) {
            const std::string& name = args[++i];
            read.level = zorvik::VerdictLevelFromName(name);
            if (!read.level) {
                err << "zorvikc scan: no level is named \"" << name
                    << "\" (windows, verified, unverified or suspicious)\n";
                return std::nullopt;
            }
        } else if (arg == "--eventlog" && !read.eventLog) {
            read.eventLog = true;
        } else {
            return std::nullopt;
        }
    }
    return read;
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

// The scan's exit code, unless the events it was to write did not reach the log: that is told,
// as the findings would otherwise be lost to a collector without a word.
int WithEvents(const zorvik::ProcessList& listed, bool eventLog, int exitCode,
               platform::System& sys, std::ostream& err) {
    if (!eventLog) return exitCode;
    zorvik::FindingEventFeed feed(sys);
    for (const zorvik::FindingEvent& event : zorvik::ScanEvents(listed)) {
        if (!feed.Write(event)) break;
    }
    if (feed.Problem().empty()) return exitCode;
    err << "zorvikc scan: the findings were not written to the event log: " << feed.Problem()
        << '\n';
    return kExitNoEventLog;
}

}  // namespace

int RunScanCommand(CommandContext& context) {
    const std::optional<ScanArguments> args = ReadScanArguments(context.args, context.err);
    if (!args) {
        PrintScanUsage(context.err);
        return kExitError;
    }

    try {
        platform::System& sys = context.sys;
        // The baseline first: a broken one ends the command before the scan.
        std::optional<std::vector<zorvik::BaselineEntry>> baseline;
        if (args->baseline) {
            zorvik::BaselineReading reading = zorvik::ReadBaselineFile(sys, *args->baseline);
            if (!reading.entries) {
                context.err << "zorvikc scan: baseline " << zorvik::AnsiToUtf8(*args->baseline)
                            << ": " << reading.error << '\n';
                return kExitError;
            }
            baseline = std::move(reading.entries);
        }
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
        if (args->format == zorvik::ReportFormat::Csv) KeepLineEndsAsWritten(context.out);
        const ScanOutput output =
            ReportScan(list, std::move(baseline), args->level, args->format);
        context.out << output.report;
        context.out.flush();
        // The list holds only the programs reported now.
        return WithEvents(list, args->eventLog, output.exitCode, sys, context.err);
    } catch (const std::exception& e) {
        context.err << "zorvikc scan: " << e.what() << '\n';
        return kExitError;
    }
}

}  // namespace zorvikc
