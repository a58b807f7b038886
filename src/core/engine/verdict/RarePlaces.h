#pragma once
// The start-up places installed programs practically never use, told by the registry key and
// value of a hit as the rules of Scan.ini name them: an IFEO debugger, a silent-process-exit
// monitor, AppInit_DLLs, Winlogon's Shell and Userinit beyond their defaults, the boot
// verification program. The current user's COM class over the machine's is told by the
// registry itself (GatherFacts.cpp).
#include <optional>
#include <string>

#include "core/engine/verdict/VerdictSigns.h"

namespace zorvik {

// The sign of the place where a hit of the program at programPath was found: place is the
// hit's root and key ("HKEY_LOCAL_MACHINE\Software\...\Winlogon"), valueName its value's name.
// None for any other place, and for Winlogon's values that start their default program.
std::optional<Sign> RarePlaceSign(const std::string& place, const std::string& valueName,
                                  const std::string& programPath);

}  // namespace zorvik
