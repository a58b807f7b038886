#pragma once
// The environment variables of the running program, as Windows expands them in stored paths
// (REG_EXPAND_SZ values, shortcut targets, command lines).
#include <string>

namespace platform {

class Environment {
public:
    virtual ~Environment() = default;

    // ExpandEnvironmentStringsA: each %NAME% of a defined variable (the name in any letter case)
    // replaced by its value; the name of an undefined one and a lone % stay as written. A text
    // the system cannot expand is given back unchanged.
    virtual std::string Expand(const std::string& text) = 0;
};

}  // namespace platform
