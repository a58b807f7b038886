#pragma once
// FIL: the lines of a text file below the Windows drive.
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

void ReadTextFilePlaces(const ScanRule& rule, PlaceReading& reading);
// The file's folder.
void WatchTextFilePlaces(const ScanRule& rule, WatchedPlaceList& places);

// The text editor, on the file.
PlaceOpening TextFileOpening(const FilStart& hit);

// Rewrites the file with every line naming the program disabled (each line ended by CR LF),
// also when none does: Disabled when a line named it, else Unchanged. FileNotRead or
// FileNotWritten leave the file as it was.
DisableOutcome DisableTextFileLines(platform::System& sys, const std::string& file,
                                    const std::string& programFileName);

// Puts text in place of the file's content: written whole beside it first, then moved over it,
// its attributes kept. False, with the file as it was, for a read-only file or a failed write.
bool ReplaceFileText(platform::System& sys, const std::string& file, const std::string& text);

}  // namespace zorvik
