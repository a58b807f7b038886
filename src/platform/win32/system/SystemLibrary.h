#pragma once
// Libraries of the system folder only. A program unpacked into Downloads runs beside whatever
// else lands there; a library it loads by a bare name would be searched for in its own folder
// (and the current one) first, and a file of that name there would run with the program's
// rights. So every library the programs load themselves comes from the system folder, and the
// start-up step keeps the loads the system's own libraries make later there too.
#include "platform/win32/WindowsApi.h"

namespace platform::win32 {

// How a library of the system folder is found: by the loader's own flag (Windows 8, and
// Vista and 7 with update KB2533623), or by its full path where the loader lacks the flag.
enum class SystemFolderSearch { LoaderFlag, FullPath };

// The way this system supports.
SystemFolderSearch SystemFolderSearchHere();

// The library of that file name ("version.dll") from the system folder, found the given way;
// null when it is not there. Its own dependencies are searched from the system folder too.
HMODULE LoadSystemLibrary(const char* fileName, SystemFolderSearch how);
inline HMODULE LoadSystemLibrary(const char* fileName) {
    return LoadSystemLibrary(fileName, SystemFolderSearchHere());
}

// First thing at start: neither the current folder nor, where the system can, the program's
// own folder is searched for a library any more. Looked up at run time: XP lacks both calls
// (XP SP1 has only the first), and the programs must still start there.
void KeepLibrarySearchInSystemFolder();

}  // namespace platform::win32
