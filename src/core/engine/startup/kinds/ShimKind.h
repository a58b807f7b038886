#pragma once
// SDB: the installed shim (application compatibility) databases: the files of the folder Path
// below the Windows drive and of its Custom64, and every database the registry registers
// (AppCompatFlags\InstalledSDB, both views). Windows applies their fixes each time a program
// they name starts: the DLL of a shim a database defines, the DLL InjectDll is given and the
// program RedirectEXE starts are the texts of the database's place. A database renamed to
// ".sdb.bak" is a disabled entry.
#include <cstddef>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

// A database larger than this is none this reader takes (those of programs are a few KiB).
inline constexpr std::size_t kShimDatabaseSizeLimit = std::size_t{4} << 20;

// How a hit on a shim's own DLL names its entry.
inline constexpr const char* kShimDllEntry = "shim DLL";

void ReadShimPlaces(const ScanRule& rule, PlaceReading& reading);
// The folders, and the registry's registrations.
void WatchShimPlaces(const ScanRule& rule, WatchedPlaceList& places);

// The file manager, on the folder with the database selected.
PlaceOpening ShimOpening(const FileEntryStart& hit);

// Renames the database to its name + ".bak", which ends all of its fixes; a failed rename
// (gone, access refused: the folder needs administrator rights) is Unchanged.
DisableOutcome DisableShimDatabase(platform::System& sys, const FileEntryStart& hit);

}  // namespace zorvik
