#pragma once
// The program's environment through ExpandEnvironmentStringsA.
#include "platform/Environment.h"

namespace platform::win32 {

class Win32Environment : public Environment {
public:
    std::string Expand(const std::string& text) override;
};

}  // namespace platform::win32
