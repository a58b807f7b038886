#pragma once
// The programs Windows tries for a command line whose program path is not quoted and holds
// blanks: CreateProcess, and the service control manager for an ImagePath, take each blank in
// turn as the end of the program's name, adding ".exe" to a name without an extension, and
// run the first that exists. A program placed at one of the earlier names runs instead.
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::parse {

// The extensions that mark where the program a command means ends, in lower case.
inline constexpr std::string_view kMeantProgramExtensions[] = {".exe", ".com", ".bat", ".cmd"};

// The names Windows tries before the program the command means, in the order it tries them:
// for "C:\Program Files\Some Service\svc.exe -k" those are "C:\Program.exe" and
// "C:\Program Files\Some.exe". The program meant is the first blank-ended part (or the whole
// command) whose file name ends in one of the extensions above. None when the command is
// quoted, its first word names no folder (Windows searches the path for such a program), or no
// part names such a program (then which part is meant cannot be told from the text). Give the
// command with its environment variables expanded.
std::vector<std::string> UnquotedProgramCandidates(std::string_view command);

}  // namespace zorvik::parse
