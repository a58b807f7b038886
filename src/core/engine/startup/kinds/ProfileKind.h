#pragma once
// INI: one entry of a profile file.
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

void ReadProfilePlaces(const ScanRule& rule, PlaceReading& reading);
// The profile file's folder.
void WatchProfilePlaces(const ScanRule& rule, WatchedPlaceList& places);
// The file and section as the place, the entry as the name: "win.ini [windows]", "load".
EntryPlace ProfileEntryPlace(const IniStart& hit);

// The text editor, on the file as the rule names it.
PlaceOpening ProfileOpening(const IniStart& hit);

// Writes the entry back as DisabledCommand gives it; a refused write is ProfileNotWritten.
DisableOutcome DisableProfileEntry(platform::System& sys, const IniStart& hit);

}  // namespace zorvik
