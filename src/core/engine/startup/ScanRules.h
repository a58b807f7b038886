#pragma once
// The rules file Scan.ini beside the program: one section per start-up place. It is read
// afresh at every call; nothing is cached, so an edited file takes effect at the next search.
#include <string>
#include <vector>

#include "platform/System.h"

namespace zorvik {

// One section of Scan.ini with the keys a rule may use, read as the profile reader returns
// them (blanks trimmed, one pair of quotes removed, at most 2047 characters; missing = empty).
struct ScanRule {
    std::string sectionName;
    std::string type;     // "REG", "INI", "FOL" or "FIL"; anything else is skipped by the search
    std::string root;     // REG
    std::string key;      // REG
    std::string action;   // REG: "CHECK", "ENUM" or "ENUM2"
    std::string name;     // REG CHECK: the value; INI: the profile file
    std::string section;  // INI
    std::string ident;    // INI
    std::string path;     // FOL, FIL: relative to the Windows drive
};

// The folder of the running program (with its backslash) + "Scan.ini".
std::string RulesFilePath(platform::System& sys);

// Every section of the rules file, in file order. A missing or empty file gives none.
std::vector<ScanRule> ReadScanRules(platform::System& sys);

}  // namespace zorvik
