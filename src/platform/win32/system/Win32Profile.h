#pragma once
// Profile (INI) files through GetPrivateProfileStringA and WritePrivateProfileStringA.
#include "platform/Profile.h"

namespace platform::win32 {

class Win32Profile : public Profile {
public:
    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    std::vector<std::string> SectionNames(const std::string& file) override;
    std::vector<std::string> KeyNames(const std::string& file, const std::string& section) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool EraseSection(const std::string& file, const std::string& section) override;
};

}  // namespace platform::win32
