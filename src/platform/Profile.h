#pragma once
// Profile (INI) files with the reading rules of GetPrivateProfileStringA:
// names matched without regard to case, blanks around values trimmed, one pair of quotes
// removed, values cut at 2047 characters, name lists limited to a 16384-byte buffer.
// A bare file name (no path) refers to a file in the Windows directory.
#include <string>
#include <vector>

namespace platform {

constexpr std::size_t kProfileValueBuffer = 2048;
constexpr std::size_t kProfileNameListBuffer = 16384;

class Profile {
public:
    virtual ~Profile() = default;

    virtual std::string ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // Section names in file order; those that do not fit the name buffer are left out.
    virtual std::vector<std::string> SectionNames(const std::string& file) = 0;
    // Key names of a section in file order, under the same buffer limit.
    virtual std::vector<std::string> KeyNames(const std::string& file, const std::string& section) = 0;

    // WritePrivateProfileStringA; false when the write is refused (read-only file or folder).
    virtual bool WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
    // Removes a section with all its keys; true also when it did not exist.
    virtual bool EraseSection(const std::string& file, const std::string& section) = 0;
};

}  // namespace platform
