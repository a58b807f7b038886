#pragma once
// FOL: the entries of a folder below the Windows drive, once per user account ("*USER*").
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

void ReadFolderPlaces(const ScanRule& rule, PlaceReading& reading);
// The folder of every account, also where it does not exist yet.
void WatchFolderPlaces(const ScanRule& rule, WatchedPlaceList& places);

// The folder, in the file manager.
PlaceOpening FolderOpening(const FilStart& hit);

// Renames the program's file in the folder to its name + ".bak"; a failed rename (no file of
// exactly that name, access refused) is Unchanged.
DisableOutcome DisableFolderEntry(platform::System& sys, const FilStart& hit,
                                  const std::string& programFileName);

}  // namespace zorvik
