#pragma once
// The findings of a start-up search in words, one line per hit, for the console tool.
#include <string>
#include <vector>

#include "core/engine/untRecord.h"

namespace zorvik {

// In the order of the table of kinds (REG, INI, FOL, FIL, SVC), each in the order found: the
// kind, then the fields, then "disabled" or "enabled". For example:
//   REG  HKEY_CURRENT_USER\Software\...\Run  value "Prog"  enabled
//   INI  win.ini  [windows]  load  disabled
//   FOL  C:\Users\bob\...\Startup  enabled
//   SVC  HKEY_LOCAL_MACHINE\SYSTEM\...\Services\Bot  value "ImagePath"  start type manual  enabled
std::vector<std::string> DescribeHits(const ProcInfo& findings);

// The file-name part of a path, cut as the scan cuts it (PathParts.h).
std::string FileNamePart(const std::string& path);

}  // namespace zorvik
