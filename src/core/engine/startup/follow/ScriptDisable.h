#pragma once
// Disabling the lines of a script that start a program, in the script's own encoding.
#include <string>

#include "core/engine/startup/StartupActions.h"
#include "platform/System.h"

namespace zorvik {

// Joins ".bak" to every mention of the program's file name in the script (letter case of A to Z
// aside), in the encoding its byte order mark names (ANSI without one), every other byte left
// as it was; the file is replaced whole as a text file's lines are. Disabled when a mention was
// changed; Unchanged, the file untouched, when none was; FileNotRead or FileNotWritten, with
// the script as the place, leave it as it was.
DisableOutcome DisableScriptLines(platform::System& sys, const std::string& script,
                                  const std::string& programFileName);

}  // namespace zorvik
