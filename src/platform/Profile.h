#pragma once
// Profile (INI) files with the reading rules of GetPrivateProfileStringA:
// names matched without regard to case, blanks around values trimmed, one pair of quotes
// removed. Values and name lists are read whole: the buffer grows and the call is made again
// while the size it reports says the text was cut.
// A bare file name (no path) refers to a file in the Windows directory.
#include <string>
#include <vector>

namespace platform {

constexpr std::size_t kProfileValueBuffer = 2048;
constexpr std::size_t kProfileNameListBuffer = 16384;
// The buffer grows no further: a profile text past 64 MiB is no settings or rules file.
constexpr std::size_t kProfileBufferLimit = std::size_t{1} << 26;

class Profile {
public:
    virtual ~Profile() = default;

    virtual std::string ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // Section names in file order.
    virtual std::vector<std::string> SectionNames(const std::string& file) = 0;
    // Key names of a section in file order.
    virtual std::vector<std::string> KeyNames(const std::string& file, const std::string& section) = 0;

    // WritePrivateProfileStringA; false when the write is refused (read-only file or folder).
    virtual bool WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
    // Removes a section with all its keys; true also when it did not exist.
    virtual bool EraseSection(const std::string& file, const std::string& section) = 0;
};

}  // namespace platform
