// zorvikc: the console companion of Zorvik. Shows what the scan would read and see.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "zorvikc/CommandLine.h"

int main(int argc, char** argv) {
    platform::KeepLibrarySearchInSystemFolder();
    std::unique_ptr<platform::System> sys;
    const auto system = [&sys]() -> platform::System& {
        if (!sys) sys = platform::CreateSystem();
        return *sys;
    };
    return zorvikc::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), system,
                                   std::cout, std::cerr);
}
