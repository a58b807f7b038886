#pragma once
// Local user accounts through NetQueryDisplayInformation, level 1.
#include "platform/Accounts.h"

namespace platform::win32 {

class Win32Accounts : public Accounts {
public:
    UserPage QueryDisplayUsers(std::uint32_t resumeIndex, std::uint32_t entriesRequested,
                               std::uint32_t preferredMaxLength) override;
};

}  // namespace platform::win32
