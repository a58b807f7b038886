#pragma once
// The two halves of a program path, cut the same way by the scan, the main window and the
// console tool: at the last backslash, slash or colon, so that "C:prog.exe" splits like
// "C:\Tools\prog.exe" and "tools/prog.exe" like "tools\prog.exe".
#include <string>

namespace zorvik {

// Where a path's folder part ends: Windows takes a slash for a backslash; a colon ends a drive.
inline constexpr const char* kPathSeparators = "\\/:";

// What follows the last backslash, slash or colon; the whole text when it holds neither.
std::string ProgramFileNameOf(const std::string& path);

// Up to and including the last backslash, slash or colon; empty when it holds neither.
std::string ProgramFolderOf(const std::string& path);

}  // namespace zorvik
