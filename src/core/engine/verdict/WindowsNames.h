#pragma once
// The names of Windows' own programs that bots take to pass for them, each with the folder it
// belongs in, and the test of a program's name against them: the very name in another folder,
// or a near miss (a letter swapped, doubled, dropped or changed, or "32" put after it).
#include <optional>
#include <string>

#include "core/engine/verdict/FolderClass.h"

namespace zorvik {

struct WindowsNameMatch {
    bool nearMiss = false;  // false: the very name
    std::string windowsName;  // "svchost.exe"
    // Where Windows keeps it: "the system folder" or "the Windows folder".
    std::string belongsIn;
};

// What the program at path passes itself off as; none when its name is no Windows program's,
// or it is one in the folder the program belongs in.
std::optional<WindowsNameMatch> WindowsNameOf(const std::string& path,
                                              const std::string& windowsDirectory);

}  // namespace zorvik
