#pragma once
// The rules file Scan.ini beside the program: one section per start-up place. It is read
// afresh at every call; nothing is cached, so an edited file takes effect at the next search.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/startup/StartupKind.h"
#include "platform/System.h"

namespace zorvik {

// One section of Scan.ini, its keys read as the profile reader returns them (blanks trimmed,
// one pair of quotes removed, at most 2047 characters; missing = empty).
struct ScanRule {
    std::string sectionName;
    // Every key of the section in file order, names as written: keys no field below holds are
    // read from here (Value).
    std::vector<std::pair<std::string, std::string>> keys;
    // Type, and for REG the Action, as the search understands them; set once by MakeScanRule.
    // No kind: a Type the search does not know, and the rule is skipped.
    std::optional<StartupKind> kind;
    RegAction regAction = RegAction::None;

    std::string type;
    std::string root;     // REG
    std::string key;      // REG
    std::string action;   // REG
    std::string name;     // REG CHECK: the value; INI: the profile file
    std::string section;  // INI
    std::string ident;    // INI
    std::string path;     // FOL, FIL: relative to the Windows drive

    // The text of a key, its name matched without regard to case as the profile reader
    // matches it; empty when the section has no such key.
    std::string Value(const std::string& keyName) const;
};

// A rule from its section's keys: the fields filled from them, Type and Action turned into the
// kind and the REG action.
ScanRule MakeScanRule(std::string sectionName,
                      std::vector<std::pair<std::string, std::string>> keys);

// The folder of the running program (with its backslash) + "Scan.ini".
std::string RulesFilePath(platform::System& sys);

// Every section of the rules file, in file order. A missing or empty file gives none.
std::vector<ScanRule> ReadScanRules(platform::System& sys);

}  // namespace zorvik
