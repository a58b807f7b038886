#pragma once
// Windows' own programs the actions start, each by its full path in the folder Windows keeps it
// in: a bare name would leave the choice of file to the shell's search, which looks in the
// current folder and beside the running program first.
#include <string>
#include <string_view>

#include "platform/System.h"

namespace zorvik {

enum class WindowsFolder { Windows, System };

struct WindowsProgram {
    WindowsFolder folder;
    std::string_view fileName;
    friend bool operator==(const WindowsProgram&, const WindowsProgram&) = default;
};

inline constexpr WindowsProgram kRegistryEditor{WindowsFolder::Windows, "regedit.exe"};
// Profile and text files open in it.
inline constexpr WindowsProgram kTextEditor{WindowsFolder::System, "notepad.exe"};
// Folders open in it with one entry selected (SelectInFileManager).
inline constexpr WindowsProgram kFileManager{WindowsFolder::Windows, "explorer.exe"};
// Opens the Task Scheduler on every Windows from XP on.
inline constexpr WindowsProgram kControlPanel{WindowsFolder::System, "control.exe"};

// The program's full path on this system: "C:\WINDOWS\regedit.exe",
// "C:\WINDOWS\system32\notepad.exe".
std::string WindowsProgramPath(platform::System& sys, const WindowsProgram& program);

}  // namespace zorvik
