#include "platform/win32/shell/HResultText.h"

namespace platform::win32 {

std::string SystemMessageText(HRESULT code) {
    char buffer[1024] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
    return text;
}

ShellResult ResultOf(HRESULT code) {
    ShellResult result;
    result.code = static_cast<std::int32_t>(code);
    if (FAILED(code)) result.text = SystemMessageText(code);
    return result;
}

}  // namespace platform::win32
