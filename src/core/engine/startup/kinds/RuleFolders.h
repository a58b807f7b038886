#pragma once
// The folders a FOL or LNK rule reads: the folder of Path below the Windows drive for each user
// account ("*USER*" replaced by the account's name), or with Folder= the folder the shell
// itself looks up by that name, wherever it was moved.
#include <optional>
#include <string>
#include <vector>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

struct RuleFolder {
    std::string path;
    // The profile folder of the account the folder belongs to, for its variables; empty for a
    // folder of the running user or of the machine.
    std::string accountProfile;
};

// The names Folder= takes, in the shell's own spelling.
std::vector<std::string> ShellFolderNames();

// The folder the shell looks up by that name (any letter case): "Startup" in the current user's
// User Shell Folders key, "Common Startup" in the machine's; an expandable value with its
// variables expanded, without a trailing backslash. None for another name, or a value that is
// missing, empty or no text.
std::optional<std::string> ShellFolderPath(platform::System& sys, const std::string& name);

// The existing folders of the rule, in order. Path: one for each account (a Path without
// "*USER*": once, but once per account for FOL), each reading noted for the kind (a rule without Folder= reads its folders whatever was read before). Folder=:
// the shell's folder, unless a rule of the kind read it earlier in this scan.
std::vector<RuleFolder> RuleFolders(const ScanRule& rule, StartupKind kind, PlaceReading& reading);

// What a watch covers for such a rule: Path's folder of every account, also where it does not
// exist yet; for Folder= the User Shell Folders key that names the folder, and the folder it
// names now.
void WatchRuleFolders(const ScanRule& rule, WatchedPlaceList& places);

}  // namespace zorvik
