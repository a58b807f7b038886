// Loads one library the way it is told and says whether it got one:
//   zorvik_library_probe NAME.dll bare     LoadLibraryA with the bare name, the search order's pick
//   zorvik_library_probe NAME.dll flag     the system folder, by the loader's flag
//   zorvik_library_probe NAME.dll path     the system folder, by the full path
// Exit code 0 when a library was loaded, 1 when none was, 2 for other arguments. The first way
// is the control: with a library of that name beside the probe, it loads that one.
#include <cstring>

#include "platform/win32/WindowsApi.h"
#include "platform/win32/system/SystemLibrary.h"

int main(int argc, char** argv) {
    using platform::win32::SystemFolderSearch;
    if (argc != 3) return 2;
    const char* name = argv[1];
    HMODULE library = nullptr;
    if (std::strcmp(argv[2], "bare") == 0)
        library = ::LoadLibraryA(name);
    else if (std::strcmp(argv[2], "flag") == 0)
        library = platform::win32::LoadSystemLibrary(name, SystemFolderSearch::LoaderFlag);
    else if (std::strcmp(argv[2], "path") == 0)
        library = platform::win32::LoadSystemLibrary(name, SystemFolderSearch::FullPath);
    else
        return 2;
    return library ? 0 : 1;
}
