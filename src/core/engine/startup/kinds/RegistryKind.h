#pragma once
// REG: registry values, read by the rule's Action (CHECK one value, ENUM every value of the key,
// ENUM2 every text value of each direct subkey).
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

void ReadRegistryPlaces(const ScanRule& rule, PlaceReading& reading);
// The rule's key; for ENUM2 with its subkeys.
void WatchRegistryPlaces(const ScanRule& rule, WatchedPlaceList& places);

// The registry editor, at the hit's key.
PlaceOpening RegistryOpening(const RegStart& hit);

// Writes the value back as DisabledCommand gives it. A key that does not open with full access,
// or a value gone since the scan, is Unchanged; a value that is no text or cannot be written is
// RegistryRefused.
DisableOutcome DisableRegistryValue(platform::System& sys, const RegStart& hit);

}  // namespace zorvik
