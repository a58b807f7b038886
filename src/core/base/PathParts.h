#pragma once
// The two halves of a program path as the main window splits it: at the last backslash or
// colon, so that "C:prog.exe" splits like "C:\Tools\prog.exe".
#include <string>

namespace zorvik {

// What follows the last backslash or colon; the whole text when it holds neither.
std::string ProgramFileNameOf(const std::string& path);

// Up to and including the last backslash or colon; empty when it holds neither.
std::string ProgramFolderOf(const std::string& path);

}  // namespace zorvik
