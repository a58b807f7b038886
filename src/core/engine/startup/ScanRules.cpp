#include "core/engine/startup/ScanRules.h"

#include "core/base/AsciiLower.h"
#include "core/base/BesideProgram.h"
#include "core/base/FixedTexts.h"
#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

std::string ScanRule::Value(const std::string& keyName) const {
    const std::string wanted = AsciiLower(keyName);
    for (const auto& [name, value] : keys)
        if (AsciiLower(name) == wanted) return value;
    return {};
}

ScanRule MakeScanRule(std::string sectionName,
                      std::vector<std::pair<std::string, std::string>> keys) {
    ScanRule rule;
    rule.sectionName = std::move(sectionName);
    rule.keys = std::move(keys);
    rule.type = rule.Value("Type");
    rule.root = rule.Value("Root");
    rule.key = rule.Value("Key");
    rule.action = rule.Value("Action");
    rule.name = rule.Value("Name");
    rule.section = rule.Value("Section");
    rule.ident = rule.Value("Ident");
    rule.path = rule.Value("Path");
    rule.kind = StartupKindNamed(rule.type);
    if (rule.kind == StartupKind::Reg) rule.regAction = RegActionOf(rule.action);
    return rule;
}

std::string RulesFilePath(platform::System& sys) {
    return FileBesideProgram(sys, kRulesFileName);
}

std::vector<ScanRule> ReadScanRules(platform::System& sys) {
    const std::string file = RulesFilePath(sys);
    platform::Profile& profile = sys.profile();
    std::vector<ScanRule> rules;
    for (const std::string& sectionName : profile.SectionNames(file)) {
        std::vector<std::pair<std::string, std::string>> keys;
        for (const std::string& keyName : profile.KeyNames(file, sectionName)) {
            // An empty name would ask the profile reader for the list of keys, not a value.
            if (keyName.empty()) continue;
            keys.emplace_back(keyName, profile.ReadString(file, sectionName, keyName, ""));
        }
        rules.push_back(MakeScanRule(sectionName, std::move(keys)));
    }
    return rules;
}

}  // namespace zorvik
