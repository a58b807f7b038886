#pragma once
// LNK: the shortcuts (.lnk) of a folder, as for FOL (Path for each account, or Folder=): each
// one's target and arguments, read from its bytes, never resolved. A shortcut renamed to
// ".lnk.bak" is a disabled entry.
#include <cstddef>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

// A shortcut larger than this is none: it gives no texts.
inline constexpr std::size_t kShortcutSizeLimit = std::size_t{1} << 20;

void ReadShortcutPlaces(const ScanRule& rule, PlaceReading& reading);
// The folders as for FOL (RuleFolders.h).
void WatchShortcutPlaces(const ScanRule& rule, WatchedPlaceList& places);

// The file manager, on the folder with the shortcut selected.
PlaceOpening ShortcutOpening(const LnkStart& hit);

// Renames the shortcut to its name + ".bak"; a failed rename (gone, access refused) is
// Unchanged.
DisableOutcome DisableShortcut(platform::System& sys, const LnkStart& hit);

}  // namespace zorvik
