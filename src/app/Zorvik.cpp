// The Windows program Zorvik.exe: the real system, the program's windows, its message loop.
// A plain main: the runtime parses the command line that the windows read back.
#include "core/windows/ProgramStart.h"
#include "platform/System.h"

int main() {
    platform::KeepLibrarySearchInSystemFolder();
    auto sys = platform::CreateSystem();
    return zorvik::RunZorvik(*sys);
}
