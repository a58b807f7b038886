#pragma once
// Finding a file or folder in the shell's namespace by its path, walking down from My Computer
// one component at a time.
#include <memory>
#include <string>

#include "platform/ShellNamespace.h"
#include "platform/System.h"

namespace zorvik {

// The item's id relative to ParentFolder, or nullptr when Path is not in the namespace (a
// missing component, a network path without a drive letter, an enumeration that cannot be
// started). An empty Path gives the desktop folder and no item. Names compare with ASCII
// letters upper-cased. A failed bind or display name raises AppError with the system's text.
std::unique_ptr<platform::ShellItemId> FindShellItem(
    platform::System& sys, const std::string& Path,
    std::shared_ptr<platform::ShellFolder>& ParentFolder);

}  // namespace zorvik
