#include "core/engine/process/ProcessActions.h"

namespace zorvik {

namespace {

constexpr std::uint32_t kTerminatedExitCode = 1;

}  // namespace

EndProcessOutcome EndProcess(platform::Processes& procs, std::uint32_t pid) {
    // Terminate access only: all access is refused for many processes the user may end.
    const platform::ProcessHandle process =
        platform::OpenProcess(procs, pid, platform::kProcessTerminate);
    if (!process || !procs.Terminate(process.get(), kTerminatedExitCode))
        return EndProcessOutcome::NotEnded;
    return EndProcessOutcome::Ended;
}

}  // namespace zorvik
