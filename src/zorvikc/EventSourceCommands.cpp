// zorvikc --install-eventlog-source and --uninstall-eventlog-source: the event source that
// scan --eventlog and watch --eventlog write under, with this program as its message file.
#include <string>

#include "core/eventlog/EventSource.h"
#include "core/report/AnsiUtf8.h"
#include "zorvikc/Commands.h"

namespace zorvikc {
namespace {

constexpr const char* kAdministratorNeeded =
    ": the registry refused the change; it needs administrator rights (run the console as an "
    "administrator)\n";

bool NoArguments(CommandContext& context, const char* word) {
    if (context.args.empty()) return true;
    context.err << "usage: zorvikc " << word << "\n";
    return false;
}

}  // namespace

int RunInstallEventSourceCommand(CommandContext& context) {
    constexpr const char* kWord = "--install-eventlog-source";
    if (!NoArguments(context, kWord)) return kExitUsage;
    const std::string messageFile = context.sys.files().OwnPath();
    switch (zorvik::InstallEventSource(context.sys, messageFile)) {
        case zorvik::SourceChange::Refused:
            context.err << "zorvikc " << kWord << kAdministratorNeeded;
            return kExitFailed;
        default:
            context.out << "the event source \"" << zorvik::kEventSourceName
                        << "\" of the Application log now takes its messages from "
                        << zorvik::AnsiToUtf8(messageFile) << '\n';
            return kExitOk;
    }
}

int RunUninstallEventSourceCommand(CommandContext& context) {
    constexpr const char* kWord = "--uninstall-eventlog-source";
    if (!NoArguments(context, kWord)) return kExitUsage;
    switch (zorvik::UninstallEventSource(context.sys)) {
        case zorvik::SourceChange::Refused:
            context.err << "zorvikc " << kWord << kAdministratorNeeded;
            return kExitFailed;
        case zorvik::SourceChange::Unchanged:
            context.out << "the event source \"" << zorvik::kEventSourceName
                        << "\" was not registered\n";
            return kExitOk;
        case zorvik::SourceChange::Done:
            break;
    }
    context.out << "the event source \"" << zorvik::kEventSourceName << "\" is removed\n";
    return kExitOk;
}

}  // namespace zorvikc
