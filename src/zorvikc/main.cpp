// zorvikc: the console companion of Zorvik. Shows what the scan would read and see.
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "zorvikc/Commands.h"

namespace {

void PrintUsage(std::ostream& err) {
    err << "usage: zorvikc <command>\n\ncommands:\n";
    constexpr std::size_t kWordColumn = 10;
    for (const zorvikc::Command& command : zorvikc::kCommands) {
        const std::string word = command.word;
        const std::size_t gap = word.size() < kWordColumn ? kWordColumn - word.size() : 1;
        err << "  " << word << std::string(gap, ' ') << command.summary << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(std::cerr);
        return zorvikc::kExitUsage;
    }
    const std::string word = argv[1];
    for (const zorvikc::Command& command : zorvikc::kCommands) {
        if (word != command.word) continue;
        std::unique_ptr<platform::System> sys = platform::CreateSystem();
        zorvikc::CommandContext context{*sys, std::vector<std::string>(argv + 2, argv + argc),
                                        std::cout, std::cerr};
        try {
            return command.run(context);
        } catch (const std::exception& e) {
            std::cerr << "zorvikc " << word << ": " << e.what() << '\n';
            return zorvikc::kExitFailed;
        }
    }
    std::cerr << "zorvikc: unknown command \"" << word << "\"\n\n";
    PrintUsage(std::cerr);
    return zorvikc::kExitUsage;
}
