#pragma once
// Free routines on command lines, paths, root-key names and process files. None keeps state,
// writes to the system or reports an error: failures show as an empty text or false. The
// program's own Run value (StartWithWindows) is in core/settings/StartWithWindows.h.
#include <cstdint>
#include <string>

#include "platform/System.h"

namespace zorvik {

// The Windows directory up to and including its first backslash ("C:\"), or empty.
std::string GetWindowsDrive(platform::System& sys);

// The command with ".bak" joined to the program file's name.
std::string MakeBackupCommand(const std::string& command);

// Exact, case-sensitive: "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE";
// anything else gives RootKey::None.
platform::RootKey RootKeyFromName(const std::string& name);

// The program's path out of a command line, in long form; empty when it does not exist.
std::string ExtractProgramPath(platform::System& sys, const std::string& command);

// The path given to a process whose file name cannot be read: it names no program to search for.
inline constexpr const char* kUnknownProcessPath = "Unknown";
// Full path of the process's main module (or its image name), kUnknownProcessPath when neither
// can be read, or empty.
std::string GetProcessPath(platform::System& sys, std::uint32_t processId);

std::string GetShortPath(platform::System& sys, const std::string& path);
std::string GetLongPath(platform::System& sys, const std::string& path);

// The program's file name out of a command line, or the command unchanged.
std::string ExtractProgramName(const std::string& command);

// Replaces the first occurrence of pattern and searches again from the start until none is
// left (aaa, aa, a gives a). When the replacement itself holds the pattern, each occurrence
// in the original text is replaced once, left to right, so the routine ends for any arguments.
// The same holds for any replacement not shorter than the pattern, since one may form the
// pattern again with its neighbours (aaba, aba, baab gives abaab).
std::string ReplaceAll(const std::string& text, const std::string& pattern,
                       const std::string& replacement);

// A file or directory of that name exists.
bool PathExists(platform::System& sys, const std::string& path);

}  // namespace zorvik
