// Ending a listed process, without a window.
#include <gtest/gtest.h>

#include <string>

#include "core/engine/process/ProcessActions.h"
#include "platform/sim/system/SimSystem.h"

namespace {

using zorvik::EndProcessOutcome;

TEST(EndProcessTest, EndsWhatTheTerminateRightAloneMayEnd) {
    struct Case {
        std::string what;
        bool openable;
        bool terminable;
        bool running;
        EndProcessOutcome outcome;
    };
    const Case cases[] = {
        {"a process of the user", true, true, true, EndProcessOutcome::Ended},
        {"query and read refused", false, true, true, EndProcessOutcome::Ended},
        {"ending refused", true, false, true, EndProcessOutcome::NotEnded},
        {"gone since the scan", true, true, false, EndProcessOutcome::NotEnded},
    };
    for (const Case& c : cases) {
        platform::sim::SimSystem sys;
        platform::sim::SimProcess process;
        process.pid = 42;
        process.imagePath = "C:\\Apps\\alpha.exe";
        process.openable = c.openable;
        process.terminable = c.terminable;
        if (c.running) sys.procs().AddProcess(process);

        EXPECT_EQ(zorvik::EndProcess(sys.processes(), 42), c.outcome) << c.what;
        EXPECT_EQ(sys.procs().IsRunning(42), c.running && c.outcome == EndProcessOutcome::NotEnded)
            << c.what;
        EXPECT_EQ(sys.procs().OpenHandleCount(), 0) << c.what;
    }
}

}  // namespace
