#pragma once
// Actions on a listed process, for any front end; texts for the user are the caller's.
#include <cstdint>

#include "platform/Processes.h"

namespace zorvik {

enum class EndProcessOutcome {
    Ended,
    NotEnded,  // gone, or opening or ending it was refused
};

// Ends the process with exit code 1.
EndProcessOutcome EndProcess(platform::Processes& procs, std::uint32_t pid);

}  // namespace zorvik
