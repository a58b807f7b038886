#pragma once
// The registry through the ANSI calls. Every key is opened in the 64-bit view, so that the 32-
// and 64-bit builds see the same keys on 64-bit Windows (no Wow6432Node redirection).
#include "platform/Registry.h"

namespace platform::win32 {

class Win32Registry : public Registry {
public:
    Handle Open(RootKey root, const std::string& path, KeyAccess access) override;
    Handle OpenBelow(Handle parent, const std::string& path, KeyAccess access) override;
    Handle Create(RootKey root, const std::string& path) override;
    void Close(Handle key) override;
    std::vector<std::string> SubKeyNames(Handle key) override;
    std::vector<std::string> ValueNames(Handle key) override;
    std::optional<RegValue> Query(Handle key, const std::string& name) override;
    bool Set(Handle key, const std::string& name, const RegValue& value) override;
    bool DeleteValue(Handle key, const std::string& name) override;
    bool DeleteTree(RootKey root, const std::string& path) override;
};

}  // namespace platform::win32
