#pragma once
// The scan engine: the start-up search for one program, the listing of the local user
// accounts it needs for per-user folders, and the check of Active Setup components.
#include <string>

#include "core/engine/process/ProcessList.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "core/engine/untRecord.h"
#include "platform/System.h"

namespace zorvik {

// Searches every place the rules file names for ProgramFileName (a file name such as
// prog.exe) or, failing that, ShortFileName (its 8.3 form, or empty); ProgramPath, the
// program's whole path where known, is what a program run in place of an unquoted command is
// compared with. Every hit is appended to
// Findings in the order found; the hit count and " Start up\s detected" are appended to Details
// in every case. True when the program is to be listed: at least one hit, and with "Ignore
// Safe Start ups" at least one hit that is not disabled. Places that are missing, unreadable
// or hold values that are not text give no hits; nothing is thrown for them.
bool FindStartups(platform::System& sys, const ScanOptions& options,
                  const std::string& ProgramFileName, const std::string& ShortFileName,
                  ProcInfo& Findings, std::string& Details, const std::string& ProgramPath = {});

// Appends the names of the local computer's user accounts, in the system's order. A failing
// call ends the listing with the names gathered so far.
void GetUserAccounts(platform::System& sys, StrAr& Names);

// Appends a "-1" row for each Active Setup component that has a text StubPath, no IsInstalled
// value, is not trusted, and whose program the start-up search lists. True when a row was added.
bool CheckActiveSetup(platform::System& sys, const ScanOptions& options,
                      const TrustedList& trusted, ProcessList& list);

}  // namespace zorvik
