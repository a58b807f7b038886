#pragma once
// The program's own fixed texts, named once so that every reader and writer of a file, a
// registry value or a list row agrees on them. The keys of Settings.ini are in
// core/settings/SettingsKeys.h.
#include <string>

namespace zorvik {

// Joined to a program's name to disable a start-up entry (a file, a command, a value).
inline const std::string kBackupSuffix = ".bak";

// A file rewritten whole is written beside itself under its name + this first, then put in
// its place, so that a failure never leaves half a file.
inline const std::string kRewriteSuffix = ".~zorvik";

// The process id column of a row that stands for an Active Setup component, not a process.
inline const std::string kActiveSetupPid = "-1";

// In a rule's Path: stands for each user account's folder name.
inline const std::string kUserPlaceholder = "*USER*";

// What the window and the console tool tell the user when a scan finds no TCP-table function
// on the system.
inline const std::string kNoTcpTableMessage = "XP or Higher required to use this program";

// The files beside the program.
inline const std::string kRulesFileName = "Scan.ini";
inline const std::string kSettingsFileName = "Settings.ini";
inline const std::string kHelpFileName = "Zorvik Help.chm";

}  // namespace zorvik
