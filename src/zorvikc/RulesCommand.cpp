// zorvikc rules: the rules file as the start-up search will read it.
#include <string>
#include <vector>

#include "core/report/RuleDescription.h"
#include "core/engine/startup/ScanRules.h"
#include "core/base/untFunc.h"
#include "zorvikc/Commands.h"

namespace zorvikc {

int RunRulesCommand(CommandContext& context) {
    platform::System& sys = context.sys;
    std::ostream& out = context.out;

    const std::string rulesFile = zorvik::RulesFilePath(sys);
    out << "Rules file: " << rulesFile << '\n';
    if (!zorvik::PathExists(sys, rulesFile)) {
        out << "The file does not exist: every search finds nothing.\n";
        return kExitOk;
    }

    const std::vector<zorvik::ScanRule> rules = zorvik::ReadScanRules(sys);
    const std::string windowsDrive = zorvik::GetWindowsDrive(sys);
    int skipped = 0;
    int findingNothing = 0;
    for (const zorvik::ScanRule& rule : rules) {
        const zorvik::RuleDescription description = zorvik::DescribeRule(rule, windowsDrive);
        out << '\n';
        for (const std::string& line : description.lines) out << line << '\n';
        if (description.verdict == zorvik::RuleVerdict::Skipped) ++skipped;
        if (description.verdict == zorvik::RuleVerdict::FindsNothing) ++findingNothing;
    }

    out << '\n' << rules.size() << (rules.size() == 1 ? " rule" : " rules");
    if (skipped > 0) out << ", " << skipped << " skipped";
    if (findingNothing > 0) out << ", " << findingNothing << " finding nothing";
    out << '\n';
    return kExitOk;
}

}  // namespace zorvikc
