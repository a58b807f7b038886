#pragma once
// BITS: the transfer jobs of the Background Intelligent Transfer Service that run a program
// when they end in error or are transferred (their notify command line). BITS keeps a job in
// its own queue across restarts, and one that never finishes runs its program again after
// each retry delay. Read through the platform once per scan: every account's jobs for an
// administrator, the user's own else. A suspended job runs nothing and is a disabled entry.
#include <string>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"

namespace zorvik {

// Why a hit of the kind cannot be shown (the start-up list's tip of the entry).
inline constexpr const char* kBitsNoShow =
    "A BITS job lives in the transfer service's own queue, which no program here opens: "
    "\"bitsadmin /info\" with the job's id shows it.";

// The hit's place in words: the job as BITS' own tools name it.
inline constexpr const char* kBitsJobPlace = "BITS job";

void ReadBitsPlaces(const ScanRule& rule, PlaceReading& reading);

// The command line the job runs as one text: the program BITS starts, quoted, then the command
// line it is handed.
std::string BitsCommandLine(const platform::TransferJob& job);

// Suspends the job, which holds it (its files, its command line and its owner stay as they
// are) until someone resumes it: a ".bak" in its command line would make BITS start the
// program in the context of the account that wrote it, so the command is left alone.
DisableOutcome DisableBitsJob(platform::System& sys, const BitsStart& hit);

}  // namespace zorvik
