#pragma once
// Local user accounts, one page per call as NetQueryDisplayInformation level 1 pages them.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr std::uint32_t kNetSuccess = 0;
constexpr std::uint32_t kNetMoreData = 234;  // ERROR_MORE_DATA

struct UserEntry {
    std::string name;          // usri1_name, converted to the ANSI code page
    std::uint32_t nextIndex = 0;  // usri1_next_index
};

struct UserPage {
    std::uint32_t result = 0;  // 0, 234 (more data) or an error such as 5
    std::vector<UserEntry> entries;
};

class Accounts {
public:
    virtual ~Accounts() = default;
    // One call on the local computer; the system's buffer is released before returning.
    virtual UserPage QueryDisplayUsers(std::uint32_t resumeIndex, std::uint32_t entriesRequested,
                                       std::uint32_t preferredMaxLength) = 0;
};

}  // namespace platform
