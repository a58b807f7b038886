// A program that imports version.dll, which no Windows after XP takes from its own folder
// whatever the search order: a version.dll beside it would be loaded at its start. The check of
// the shipped programs' imports is run against it too, and must refuse it.
#include <windows.h>

int main(int argc, char** argv) {
    DWORD ignored = 0;
    return argc > 1 ? static_cast<int>(::GetFileVersionInfoSizeA(argv[1], &ignored) % 2) : 0;
}
