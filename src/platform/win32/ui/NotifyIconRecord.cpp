#include "platform/win32/ui/NotifyIconRecord.h"

#include <cstring>
#include <string>

#include "platform/Widgets.h"

namespace platform::win32 {

namespace {

static_assert(sizeof(void*) != 4 || kNotifyIconDataSize == 488,
              "the 32-bit balloon record is 488 bytes");

template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text) {
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

}  // namespace

NOTIFYICONDATAA NotifyIconRecord(const NotifyIconData& data, HICON icon) {
    NOTIFYICONDATAA record{};
    record.cbSize = kNotifyIconDataSize;
    record.hWnd = data.window ? static_cast<HWND>(data.window->NativeHandle()) : nullptr;
    record.uID = data.id;
    record.uFlags = data.flags;
    record.uCallbackMessage = data.callbackMessage;
    record.hIcon = icon;
    CopyText(record.szTip, data.tip);
    CopyText(record.szInfo, data.infoText);
    CopyText(record.szInfoTitle, data.infoTitle);
    record.uTimeout = data.timeout;
    record.dwInfoFlags = data.infoFlags;
    return record;
}

}  // namespace platform::win32
