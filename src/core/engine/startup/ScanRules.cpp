#include "core/engine/startup/ScanRules.h"

#include "core/base/BesideProgram.h"
#include "core/base/FixedTexts.h"

namespace zorvik {

std::string RulesFilePath(platform::System& sys) {
    return FileBesideProgram(sys, kRulesFileName);
}

std::vector<ScanRule> ReadScanRules(platform::System& sys) {
    const std::string file = RulesFilePath(sys);
    platform::Profile& profile = sys.profile();
    std::vector<ScanRule> rules;
    for (const std::string& sectionName : profile.SectionNames(file)) {
        auto read = [&](const char* key) { return profile.ReadString(file, sectionName, key, ""); };
        ScanRule rule;
        rule.sectionName = sectionName;
        rule.type = read("Type");
        rule.root = read("Root");
        rule.key = read("Key");
        rule.action = read("Action");
        rule.name = read("Name");
        rule.section = read("Section");
        rule.ident = read("Ident");
        rule.path = read("Path");
        rules.push_back(std::move(rule));
    }
    return rules;
}

}  // namespace zorvik
