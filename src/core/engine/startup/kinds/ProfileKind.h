#pragma once
// INI: one entry of a profile file.
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"

namespace zorvik {

void ReadProfilePlaces(const ScanRule& rule, PlaceReading& reading);

// The text editor, on the file as the rule names it.
PlaceOpening ProfileOpening(const IniStart& hit);

// Writes the entry back as DisabledCommand gives it; a refused write is ProfileNotWritten.
DisableOutcome DisableProfileEntry(platform::System& sys, const IniStart& hit);

}  // namespace zorvik
