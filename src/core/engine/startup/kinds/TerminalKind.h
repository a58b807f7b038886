#pragma once
// TERMINAL: Windows Terminal's settings file, Path below the Windows drive ("*USER*" for each
// user account, as for FOL). With "startOnUserLogin" the terminal starts at each logon and runs
// its default profile's command line, which is the place's text.
#include <cstddef>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

// A settings file larger than this is not read.
inline constexpr std::size_t kTerminalSettingsLimit = std::size_t{4} << 20;

// Why a hit of the kind cannot be disabled (the start-up list's tip of the entry).
inline constexpr const char* kTerminalNoDisable =
    "Windows Terminal keeps this in its own settings: turn off \"Launch on machine startup\" "
    "in the terminal's Startup settings, or change the default profile.";

void ReadTerminalPlaces(const ScanRule& rule, PlaceReading& reading);
// The folder of each account's settings file.
void WatchTerminalPlaces(const ScanRule& rule, WatchedPlaceList& places);

// The settings file in the text editor.
PlaceOpening TerminalOpening(const FileEntryStart& hit);

}  // namespace zorvik
