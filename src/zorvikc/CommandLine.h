#pragma once
// The console tool's command line: its first word picks the command, which gets the rest.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/System.h"

namespace zorvikc {

// args: what follows the program's name. The system is asked for only once a command is
// known, so that a mistyped command line touches nothing. Returns the exit code.
int RunCommandLine(const std::vector<std::string>& args,
                   const std::function<platform::System&()>& system, std::ostream& out,
                   std::ostream& err);

}  // namespace zorvikc
