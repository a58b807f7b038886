#pragma once
// The paths a place watch walks: a missing key or folder is watched through its nearest
// existing parent, and the scheduled tasks are a few fixed places under the Windows folder.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/PlaceWatch.h"

namespace platform::shared {

// The key path one level up: "A\B" gives "A", "A" gives "" (the root itself); nullopt for the
// root. One leading backslash is ignored, as Registry::Open ignores it.
std::optional<std::string> ParentKeyPath(const std::string& keyPath);

// A folder path without its trailing separators, a drive's root keeping its own ("C:\").
std::string FolderWithoutTrailingSeparator(const std::string& folder);

// The folder one level up: "C:\a\b" gives "C:\a", "C:\a" gives "C:\"; nullopt for a drive's
// root, a share's root ("\\server\share") or a path with no folder above it.
std::optional<std::string> ParentFolder(const std::string& folder);

// Where the scheduled tasks are kept, for a system whose Windows folder is windowsDirectory:
// the task files of both schedulers and the scheduler's own index of its tasks.
std::vector<WatchedPlace> ScheduledTaskPlaces(const std::string& windowsDirectory);

// A place to arm, and which of the places asked for it serves.
struct PlaceToArm {
    WatchedPlace place;
    std::size_t asked = 0;
};

// The places to arm for a set: ScheduledTasks expanded, every other place as it is.
std::vector<PlaceToArm> ExpandPlaces(const std::vector<WatchedPlace>& places,
                                     const std::string& windowsDirectory);

// How many places asked for are watched, given which places to arm were armed: a place asked
// for is watched when any of its own is.
std::size_t CountWatched(const std::vector<PlaceToArm>& toArm, const std::vector<bool>& armed);

}  // namespace platform::shared
