#pragma once
// The files that travel with the program (Scan.ini, Settings.ini, the help file) are looked
// for in the running program's own folder, whatever the current directory is.
#include <string>

#include "platform/System.h"

namespace zorvik {

// The folder of the running program, backslash included, joined with fileName.
std::string FileBesideProgram(platform::System& sys, const std::string& fileName);

}  // namespace zorvik
