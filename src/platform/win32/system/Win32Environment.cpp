#include "platform/win32/system/Win32Environment.h"

#include "platform/win32/WindowsApi.h"

namespace platform::win32 {

std::string Win32Environment::Expand(const std::string& text) {
    // The call answers with the size it needs, its zero included, whether or not it fitted; the
    // ANSI form wants one character more than that, and may count more than it writes, so the
    // text ends at its zero. A variable may change between two calls: it is asked again.
    std::string buffer(text.size() + MAX_PATH, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(),
                                                         static_cast<DWORD>(buffer.size()));
        if (needed == 0) return text;
        if (needed < buffer.size()) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        buffer.assign(needed + 1, '\0');
    }
    return text;
}

}  // namespace platform::win32
