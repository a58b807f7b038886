// zorvikc: the console companion of Zorvik. Shows what the scan would read and see.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "zorvikc/CommandLine.h"

#ifdef _WIN32
#include <windows.h>

#include "ZorvikEvents.h"
#include "core/eventlog/FindingEvents.h"

// The message table compiled into this program and the ids the events are written with are
// kept apart (ZorvikEvents.mc and FindingEvents.h); they must not drift.
static_assert(ZORVIK_EVENT_SUSPICIOUS_PROGRAM == zorvik::kSuspiciousProgramEvent);
static_assert(ZORVIK_EVENT_LISTED_PROGRAM == zorvik::kListedProgramEvent);
static_assert(ZORVIK_EVENT_ENTRY_ADDED == zorvik::kEntryAddedEvent);
static_assert(ZORVIK_EVENT_ENTRY_CHANGED == zorvik::kEntryChangedEvent);
static_assert(ZORVIK_EVENT_ENTRY_REMOVED == zorvik::kEntryRemovedEvent);
#endif

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
