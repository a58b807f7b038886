#pragma once
// The findings of a start-up search in words, one line per hit, for the console tool.
#include <string>
#include <vector>

#include "core/engine/untRecord.h"

namespace zorvik {

// In the order of the table of kinds (REG, INI, FOL, FIL, SVC, TASK, LNK, EXE, WMI), each in
// the order found: the kind, then the fields, then the notes of a hit found beyond its entry,
// the module the hit was found through (if any), then "disabled" or "enabled". For example:
//   REG  HKEY_CURRENT_USER\Software\...\Run  value "Prog"  enabled
//   INI  win.ini  [windows]  load  disabled
//   FOL  C:\Users\bob\...\Startup  enabled
//   SVC  HKEY_LOCAL_MACHINE\SYSTEM\...\Services\Bot  value "ImagePath"  start type manual  enabled
//   REG  HKEY_LOCAL_MACHINE\...\Windows  value "AppInit_DLLs"  module "C:\Bot\bot.dll"  enabled
//   EXE  C:\Windows\System32\sethc.exe  not the system's own file: ...  enabled
//   WMI  CommandLineEventConsumer  "Updater"  CommandLineTemplate "C:\Bot\bot.exe /q"  enabled
//   LNK  C:\Startup  Updater.lnk  C:\Tools\run.bat  script C:\Tools\run.bat  enabled
std::vector<std::string> DescribeHits(const ProcInfo& findings);

// The file-name part of a path, cut as the scan cuts it (PathParts.h).
std::string FileNamePart(const std::string& path);

}  // namespace zorvik
