#pragma once
// The windowing and shell services of the Windows build, made by their own files.
#include <memory>

#include "platform/Shell.h"
#include "platform/ShellNamespace.h"
#include "platform/Ui.h"

namespace platform::win32 {

std::unique_ptr<Shell> CreateWin32Shell();
std::unique_ptr<Ui> CreateWin32Ui();
// The shell's namespace, for a file's context menu; the shell object keeps it.
std::unique_ptr<ShellNamespace> CreateWin32ShellNamespace();

}  // namespace platform::win32
