#pragma once
// EXE: a program Windows starts by itself from the logon screen or the accessibility shortcuts
// (sethc.exe, utilman.exe, ...), Path below the Windows drive. It counts as starting with
// Windows: a socket owner running from exactly that path is found, and marked when its file is
// not the system's own (a copy of another program put in its place).
#include <string>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"

namespace zorvik {

// The verdict a scan appends to the details of a program found by an EXE rule whose file is
// not the system's own.
inline constexpr const char* kReplacedProgramVerdict = ", Replaced System Program";

// Why a hit of the kind cannot be disabled (the start-up list's tip of the entry).
inline constexpr const char* kExeNoDisable =
    "Windows starts this program by itself, so there is no entry to disable: put the "
    "system's own file back (sfc /scannow) or end the process.";

void ReadExePlaces(const ScanRule& rule, PlaceReading& reading);

// Judges the file of the program at programPath once for all its EXE hits: each hit keeps
// why it is not the system's own, and details get kReplacedProgramVerdict. Nothing changes
// for a program without EXE hits, or one the system gives no file facts for.
void JudgeExeHits(platform::System& sys, const std::string& programPath, ProcInfo& findings,
                  std::string& details);

// The folder holding the program.
PlaceOpening ExeOpening(const ExeStart& hit);

}  // namespace zorvik
