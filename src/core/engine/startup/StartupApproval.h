#pragma once
// Task Manager's verdict on a start-up entry, as Windows 8 and later keep it under
// Explorer\StartupApproved: shown beside a hit, never changing its Disabled flag.
#include <cstddef>
#include <string>
#include <vector>

#include "core/engine/untRecord.h"
#include "platform/System.h"

namespace zorvik {

enum class StartupApproval { Unknown, Allowed, Disabled };

// The verdict on a Run-key value of the current user or the machine (StartupApproved\Run,
// or \Run32 for the 32-bit view under WOW6432Node). Unknown for every other registry hit,
// for a missing or empty entry and for a first byte that is neither 2 nor odd.
StartupApproval RunValueApproval(platform::System& sys, const RegStart& hit);

// The verdict on an entry of a start-up folder (StartupApproved\StartupFolder): the current
// user's verdict for an entry of the current user's folder, the machine's for one of the
// folder of all users, as the shell names them under Explorer\Shell Folders ("Startup",
// "Common Startup"). Unknown for the folders of other accounts, whose verdicts live in their
// own profiles, and for any folder the shell does not name.
StartupApproval FolderEntryApproval(platform::System& sys, const FilStart& hit);
// The same for the entry of that name in the folder (a shortcut, or any file).
StartupApproval FolderEntryApproval(platform::System& sys, const std::string& folder,
                                    const std::string& entry);

// The verdict on each hit, in the order of StartupRowsOf, as the table of kinds gives it:
// Run-key values, folder entries and shortcuts as above; profile entries and lines of text
// files are Unknown.
std::vector<StartupApproval> ApprovalsOf(platform::System& sys, const ProcInfo& findings);

// Where an approval stands in a row's list: Unknown past its end.
inline StartupApproval ApprovalAt(const std::vector<StartupApproval>& approvals, std::size_t i) {
    return i < approvals.size() ? approvals[i] : StartupApproval::Unknown;
}

}  // namespace zorvik
