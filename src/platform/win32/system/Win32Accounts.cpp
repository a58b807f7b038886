#include "platform/win32/system/Win32Accounts.h"

#include "platform/win32/WindowsApi.h"
#include <lm.h>

#include "platform/win32/system/AnsiText.h"

namespace platform::win32 {

Win32Accounts::Win32Accounts() : netapi32_("netapi32.dll") {
    query_ = netapi32_.Find<NetQueryDisplayInformationFn>("NetQueryDisplayInformation");
    free_ = netapi32_.Find<NetApiBufferFreeFn>("NetApiBufferFree");
}

UserPage Win32Accounts::QueryDisplayUsers(std::uint32_t resumeIndex,
                                          std::uint32_t entriesRequested,
                                          std::uint32_t preferredMaxLength) {
    UserPage page;
    if (!query_ || !free_) {
        // No library to ask: a failure like any other the list reports.
        page.result = ERROR_PROC_NOT_FOUND;
        return page;
    }
    NetApiBuffer buffer(free_);
    DWORD returned = 0;
    page.result = query_(nullptr, 1, resumeIndex, entriesRequested, preferredMaxLength, &returned,
                         buffer.receive());
    if (page.result != NERR_Success && page.result != ERROR_MORE_DATA) return page;
    const auto* users = buffer.as<NET_DISPLAY_USER>();
    if (!users) returned = 0;
    for (DWORD i = 0; i < returned; ++i)
        page.entries.push_back(UserEntry{ToAnsi(users[i].usri1_name), users[i].usri1_next_index});
    return page;
}

}  // namespace platform::win32
