#pragma once
// Which kind of folder a program lies in, judged by its place alone: the folders Windows gives
// only administrators to write (the Windows folder, Program Files) against those every user
// can write (the profile, Temp, ProgramData, Users\Public, a drive's root, Windows\Temp).
#include <string>

namespace zorvik {

enum class FolderClass {
    System,        // the system folder (System32, SysWOW64) or below
    Windows,       // elsewhere below the Windows folder
    ProgramFiles,  // Program Files, Program Files (x86)
    UserWritable,  // writable by every user, whatever its access rights say elsewhere
    Other          // any other folder: its access rights decide where the system tells them
};

struct FolderPlace {
    FolderClass folderClass = FolderClass::Other;
    std::string folder;  // the program's folder as written, with its trailing backslash
};

// path: the program's full path; windowsDirectory: "C:\Windows" (any letter case).
FolderPlace FolderPlaceOf(const std::string& path, const std::string& windowsDirectory);

}  // namespace zorvik
