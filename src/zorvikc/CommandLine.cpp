#include "zorvikc/CommandLine.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "core/base/untFunc.h"
#include "core/engine/startup/ScanRules.h"
#include "zorvikc/Commands.h"

namespace zorvikc {

namespace {

// The ways users of Windows and of other systems ask a console tool for its usage.
constexpr const char* kHelpWords[] = {"help", "--help", "-h", "/?", "-?", "/h"};

bool AsksForHelp(const std::string& word) {
    return std::find(std::begin(kHelpWords), std::end(kHelpWords), word) != std::end(kHelpWords);
}

void PrintUsage(std::ostream& stream) {
    stream << "usage: zorvikc <command>\n\ncommands:\n";
    constexpr std::size_t kWordColumn = 10;
    for (const Command& command : kCommands) {
        const std::string word = command.word;
        const std::size_t gap = word.size() < kWordColumn ? kWordColumn - word.size() : 1;
        stream << "  " << word << std::string(gap, ' ') << command.summary << '\n';
    }
    stream << "  help      this usage\n\n"
              "Scan.ini beside zorvikc.exe names the start-up places to search. Exit code 2: a\n"
              "command line it does not take; 3: no Scan.ini, so nothing was searched.\n";
}

// Without the rules file a search finds nothing, which must not read as a clean machine.
bool RulesFileFound(platform::System& sys, const std::string& word, std::ostream& err) {
    const std::string rulesFile = zorvik::RulesFilePath(sys);
    if (zorvik::PathExists(sys, rulesFile)) return true;
    err << "zorvikc " << word << ": no start-up place was searched: the rules file " << rulesFile
        << " was not found (it names the places to search and ships beside zorvikc.exe)\n";
    return false;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args,
                   const std::function<platform::System&()>& system, std::ostream& out,
                   std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return kExitUsage;
    }
    const std::string& word = args[0];
    if (AsksForHelp(word)) {
        PrintUsage(out);
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (word != command.word) continue;
        CommandContext context{system(), std::vector<std::string>(args.begin() + 1, args.end()),
                               out, err};
        try {
            if (command.readsPlaces && !RulesFileFound(context.sys, word, err)) return kExitNoRules;
            return command.run(context);
        } catch (const std::exception& e) {
            err << "zorvikc " << word << ": " << e.what() << '\n';
            return kExitFailed;
        }
    }
    err << "zorvikc: unknown command \"" << word << "\"\n\n";
    PrintUsage(err);
    return kExitUsage;
}

}  // namespace zorvikc
