#include "zorvikc/CommandLine.h"

#include <exception>

#include "zorvikc/Commands.h"

namespace zorvikc {

namespace {

void PrintUsage(std::ostream& err) {
    err << "usage: zorvikc <command>\n\ncommands:\n";
    constexpr std::size_t kWordColumn = 10;
    for (const Command& command : kCommands) {
        const std::string word = command.word;
        const std::size_t gap = word.size() < kWordColumn ? kWordColumn - word.size() : 1;
        err << "  " << word << std::string(gap, ' ') << command.summary << '\n';
    }
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
    for (const Command& command : kCommands) {
        if (word != command.word) continue;
        CommandContext context{system(), std::vector<std::string>(args.begin() + 1, args.end()),
                               out, err};
        try {
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
