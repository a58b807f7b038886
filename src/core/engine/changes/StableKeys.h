#pragma once
// Each start-up hit as an entry two scans can compare: a stable key and the entry's text.
// The key names the kind, the place and the value or entry name, so it stays the same while
// the entry stays where it is, whatever its text becomes; its parts are ASCII lower-cased, as
// Windows compares those names. The parts are the row's keyParts, else its columns
// (StartupKinds.h), joined by '|' after the kind's name; a '|' or '%' within a part is written
// "%7c" or "%25", so no two entries share a key. For example:
//   REG|hkey_current_user|software\microsoft\windows\currentversion\run|bot
//   INI|win.ini|windows|load
//   FOL|c:\users\bob\start menu\programs\startup|bot.lnk
//   FIL|c:\autoexec.bat
//   TASK|\vendor\updater
//   LNK|c:\users\bob\start menu\programs\startup|updater.lnk
#include <string>

#include "core/engine/changes/StartupChanges.h"
#include "core/engine/startup/StartupKind.h"
#include "core/engine/untRecord.h"

namespace zorvik {

std::string StableKeyOf(const ProcInfo& findings, StartupHit hit);

// The text found at the hit that names the program, as the search compared it.
const std::string& HitTextOf(const ProcInfo& findings, StartupHit hit);

// Adds every hit of findings to entries.
void AddStartupEntries(const ProcInfo& findings, StartupEntries& entries);

}  // namespace zorvik
