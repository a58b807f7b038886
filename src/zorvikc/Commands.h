#pragma once
// The commands of the console tool. A command is one function in a file of its own and one
// line in ZORVIKC_COMMANDS below: its word on the command line, its function, whether it reads
// the start-up places (and so needs the rules file), its summary.
#include <ostream>
#include <string>
#include <vector>

#include "platform/System.h"

namespace zorvikc {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// A command that reads the start-up places found no rules file: nothing was searched, which is
// not the answer of a clean machine.
constexpr int kExitNoRules = 3;
// scan or watch with --eventlog: the findings could not be written to the event log (the
// report still went to the output).
constexpr int kExitNoEventLog = 4;

struct CommandContext {
    platform::System& sys;
    std::vector<std::string> args;  // what follows the command's word
    std::ostream& out;              // the listing
    std::ostream& err;              // errors
};

using CommandFunction = int (*)(CommandContext&);

#define ZORVIKC_COMMANDS(X)                                                          \
    X("rules", RunRulesCommand, false, "the rules of Scan.ini beside the program, as the search reads them") \
    X("sockets", RunSocketsCommand, false, "the TCP sockets with their state and owning program") \
    X("search", RunSearchCommand, true, "the start-up places that name one program, as a scan finds them") \
    X("scan", RunScanCommand, true, "the programs a scan lists, with their start-up entries and verdicts (--csv, --json, --baseline, --level, --eventlog)") \
    X("watch", RunWatchCommand, true, "a JSON line for each start-up entry added, changed or removed, until Ctrl+C (--eventlog)") \
    X("--install-eventlog-source", RunInstallEventSourceCommand, false, "registers the event source \"Zorvik\" that --eventlog writes under (administrator)") \
    X("--uninstall-eventlog-source", RunUninstallEventSourceCommand, false, "removes that event source again (administrator)")

#define ZORVIKC_DECLARE_COMMAND(word, function, readsPlaces, summary) int function(CommandContext&);
ZORVIKC_COMMANDS(ZORVIKC_DECLARE_COMMAND)
#undef ZORVIKC_DECLARE_COMMAND

struct Command {
    const char* word;
    CommandFunction run;
    bool readsPlaces;  // ends with kExitNoRules when the rules file is missing
    const char* summary;
};

#define ZORVIKC_COMMAND_ENTRY(word, function, readsPlaces, summary) \
    Command{word, &function, readsPlaces, summary},
inline constexpr Command kCommands[] = {ZORVIKC_COMMANDS(ZORVIKC_COMMAND_ENTRY)};
#undef ZORVIKC_COMMAND_ENTRY

}  // namespace zorvikc
