#pragma once
// REG: registry values, read by the rule's Action (CHECK one value, ENUM every value of the key,
// ENUM2 every text value of each direct subkey, MATCH the value Name of every key a key
// pattern reaches).
#include <cstdint>
#include <string>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

// MATCH: a part of Key that stands for every subkey at its depth, and a Name that stands for
// every value of a key reached.
inline const std::string kAnySubkeyPart = "*";
inline const std::string kEveryValueName = "*";
// MATCH: the key naming the most subkeys a rule takes for its "*" parts, and its value when
// the rule names no number there.
inline const std::string kLimitKey = "Limit";
inline constexpr std::uint64_t kDefaultMatchLimit = 100000;
// MATCH: the key ("OtherProgram=1") that passes over a text naming the program its key is
// named for (App Paths\chrome.exe giving ...\chrome.exe, as every installer writes it): only a
// key that sends its name to another program is read.
inline const std::string kOtherProgramKey = "OtherProgram";

void ReadRegistryPlaces(const ScanRule& rule, PlaceReading& reading);
// The rule's key; for ENUM2 with its subkeys.
void WatchRegistryPlaces(const ScanRule& rule, WatchedPlaceList& places);

// MATCH: the keys reached from Key below root, depth first in the registry's order, each
// opened once; at most MatchLimit subkeys are taken for "*" parts.
void ReadMatchPlaces(const ScanRule& rule, platform::RootKey root, PlaceReading& reading);

// Whether a part of the key path is a "*" standing for every subkey.
bool HasAnySubkeyPart(const std::string& key);

// The rule's Limit: a decimal number (one too large to hold is the largest there is), or
// kDefaultMatchLimit for anything else.
std::uint64_t MatchLimit(const ScanRule& rule);

// The registry editor, at the hit's key.
PlaceOpening RegistryOpening(const RegStart& hit);

// Writes the value back as DisabledCommand gives it; in a REG_MULTI_SZ value, each string
// naming the program (by its file name) that is not disabled yet, or every one naming it when
// all are. A key that does not open with full access, or a value gone since the scan, is
// Unchanged; a list without a string naming the program is Unchanged too; a value that is no
// text or cannot be written is RegistryRefused.
DisableOutcome DisableRegistryValue(platform::System& sys, const RegStart& hit,
                                    const std::string& programFileName);

}  // namespace zorvik
