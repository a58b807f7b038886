#pragma once
// Local user accounts through NetQueryDisplayInformation, level 1, from netapi32 of the system
// folder: no Windows maps that library itself, so it is looked up, not imported.
#include "platform/Accounts.h"
#include "platform/win32/system/LibraryModule.h"
#include "platform/win32/system/NetApiBuffer.h"

namespace platform::win32 {

class Win32Accounts : public Accounts {
public:
    Win32Accounts();

    UserPage QueryDisplayUsers(std::uint32_t resumeIndex, std::uint32_t entriesRequested,
                               std::uint32_t preferredMaxLength) override;

private:
    using NetQueryDisplayInformationFn = DWORD(WINAPI*)(LPCWSTR, DWORD, DWORD, DWORD, DWORD,
                                                        LPDWORD, PVOID*);

    LibraryModule netapi32_;
    NetQueryDisplayInformationFn query_ = nullptr;
    NetApiBufferFreeFn free_ = nullptr;
};

}  // namespace platform::win32
