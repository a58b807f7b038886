#pragma once
// The start-up search of one scan: the places read once, every examined program matched
// against them in one pass. FindStartups (untScan.h) is this pass for one program.
#include <string>
#include <vector>

#include "core/engine/modules/ModuleSearch.h"
#include "core/engine/startup/ProgramNameMatcher.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/untRecord.h"

namespace zorvik {

// One program's hits, in rule order and, within a place, in the order the system gave them.
struct StartupFindings {
    ProcInfo info;
    int hitCount = 0;
    bool allDisabled = true;
};

// The findings of each program, in the order given. A text names a program by its file name,
// or by its full path at a spot that names programs so (EXE); at a spot that compares modules
// (Dlls=1) also by a module of modules->modules that is not the system's own, once per
// program and text: a hit by the program's own name comes first and takes no module.
std::vector<StartupFindings> SearchStartups(const StartupPlaces& places,
                                            const std::vector<ProgramNames>& programs,
                                            const ModuleSearch* modules = nullptr);

// Appends the hit count and " Start up\s detected" to Details. True when the program is to be
// listed: at least one hit, and with "Ignore Safe Start ups" at least one not disabled.
bool FinishStartups(const ScanOptions& options, const StartupFindings& found,
                    std::string& Details);

}  // namespace zorvik
