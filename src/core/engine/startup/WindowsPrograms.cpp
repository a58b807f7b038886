#include "core/engine/startup/WindowsPrograms.h"

namespace zorvik {

std::string WindowsProgramPath(platform::System& sys, const WindowsProgram& program) {
    platform::Files& files = sys.files();
    const std::string folder = program.folder == WindowsFolder::Windows ? files.WindowsDirectory()
                                                                        : files.SystemDirectory();
    return folder + "\\" + std::string(program.fileName);
}

}  // namespace zorvik
