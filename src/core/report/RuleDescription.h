#pragma once
// A rule of the rules file in words: the keys its type uses, the place it looks at, and
// whether the search skips it or can find nothing with it.
#include <string>
#include <vector>

#include "core/engine/startup/ScanRules.h"

namespace zorvik {

enum class RuleVerdict {
    Searched,      // the search looks into the place the rule names
    Skipped,       // the Type is not one the search knows
    FindsNothing,  // a REG rule whose Root or Action is not accepted
};

struct RuleDescription {
    RuleVerdict verdict = RuleVerdict::Searched;
    // The section name in brackets, then one indented line per key or remark.
    std::vector<std::string> lines;
};

// windowsDrive is what GetWindowsDrive gives ("C:\"); FOL and FIL paths are shown joined to it.
RuleDescription DescribeRule(const ScanRule& rule, const std::string& windowsDrive);

}  // namespace zorvik
