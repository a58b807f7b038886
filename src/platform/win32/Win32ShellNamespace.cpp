// The shell's namespace until the walk to a file's context menu is built for this system:
// neither the desktop nor My Computer can be reached, so the process menu shows the program's
// own entries only.
#include "platform/win32/ShellUiFactory.h"

namespace platform::win32 {

namespace {

class UnreachableShellNamespace : public ShellNamespace {
public:
    std::unique_ptr<ShellFolder> DesktopFolder() override { return nullptr; }
    std::unique_ptr<ShellItemId> MyComputer() override { return nullptr; }
};

}  // namespace

std::unique_ptr<ShellNamespace> CreateWin32ShellNamespace() {
    return std::make_unique<UnreachableShellNamespace>();
}

}  // namespace platform::win32
