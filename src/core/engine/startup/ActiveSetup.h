#pragma once
// The Active Setup check in the two steps a scan needs: the stubs to examine, listed before
// the scan's one pass over the places, and the rows of those the pass found.
#include <string>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/engine/startup/ProgramNameMatcher.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/startup/StartupPass.h"
#include "core/engine/TrustedList.h"
#include "platform/System.h"

namespace zorvik {

struct ActiveSetupStub {
    std::string stubPath;  // the component's StubPath command
    ProgramNames names;    // the names the start-up search looks for
};

// Components with a text StubPath, no IsInstalled value and not trusted, in the registry's order.
std::vector<ActiveSetupStub> ListActiveSetupStubs(platform::System& sys, const TrustedList& trusted);

// Appends a "-1" row for each stub whose findings (found[i] belongs to stubs[i]) list it.
// True when a row was added.
bool AddActiveSetupRows(platform::System& sys, const ScanOptions& options,
                        const std::vector<ActiveSetupStub>& stubs,
                        std::vector<StartupFindings>& found, ProcessList& list);

}  // namespace zorvik
