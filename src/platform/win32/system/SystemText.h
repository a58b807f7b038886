#pragma once
// Texts that the system writes into a caller's buffer and, when the buffer is too small,
// answers with the size it needs (GetShortPathNameA, GetWindowsDirectoryA, GetTempPathA...).
#include "platform/win32/WindowsApi.h"

#include <string>

namespace platform::win32 {

// call(buffer, size) returns the length written (without the zero), the size needed (with the
// zero) when the buffer is too small, or 0 on failure. The first try uses MAX_PATH characters;
// a longer result is asked for again with the size reported, so it is never cut. Empty on failure.
template <typename Call>
std::string SizedSystemText(Call call) {
    std::string buffer(MAX_PATH, '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD n = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.assign(n + 1, '\0');  // the text changed or grew meanwhile: ask again
    }
    return {};
}

}  // namespace platform::win32
