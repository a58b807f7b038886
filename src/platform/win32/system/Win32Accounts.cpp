#include "platform/win32/system/Win32Accounts.h"

#include "platform/win32/WindowsApi.h"
#include <lm.h>

#include "platform/win32/system/AnsiText.h"
#include "platform/win32/system/NetApiBuffer.h"

namespace platform::win32 {

UserPage Win32Accounts::QueryDisplayUsers(std::uint32_t resumeIndex,
                                          std::uint32_t entriesRequested,
                                          std::uint32_t preferredMaxLength) {
    UserPage page;
    NetApiBuffer buffer;
    DWORD returned = 0;
    page.result = ::NetQueryDisplayInformation(nullptr, 1, resumeIndex, entriesRequested,
                                               preferredMaxLength, &returned, buffer.receive());
    if (page.result != NERR_Success && page.result != ERROR_MORE_DATA) return page;
    const auto* users = buffer.as<NET_DISPLAY_USER>();
    if (!users) returned = 0;
    for (DWORD i = 0; i < returned; ++i)
        page.entries.push_back(UserEntry{ToAnsi(users[i].usri1_name), users[i].usri1_next_index});
    return page;
}

}  // namespace platform::win32
