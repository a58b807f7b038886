#pragma once
// The program's notification-icon record as Shell_NotifyIconA takes it.
#include "platform/win32/WindowsApi.h"

#include <shellapi.h>

#include "platform/shared/NotifyIconProtocol.h"

namespace platform::win32 {

// The balloon-capable size of this build's record (488 bytes in a 32-bit build).
constexpr DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V2_SIZE;

// The record for data, with icon as its icon handle. Texts longer than their fields are cut
// to fit, always ending in NUL.
NOTIFYICONDATAA NotifyIconRecord(const NotifyIconData& data, HICON icon);

}  // namespace platform::win32
