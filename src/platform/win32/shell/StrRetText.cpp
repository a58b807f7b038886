#include "platform/win32/shell/StrRetText.h"

#include <cstring>

#include "platform/win32/system/AnsiText.h"

namespace platform::win32 {

std::string TakeStrRetText(STRRET& name, LPCITEMIDLIST item) {
    switch (name.uType) {
        case STRRET_WSTR: {
            std::string text = ToAnsi(name.pOleStr);
            ::CoTaskMemFree(name.pOleStr);
            name.pOleStr = nullptr;
            return text;
        }
        case STRRET_OFFSET:
            if (!item) return {};
            return std::string(reinterpret_cast<const char*>(item) + name.uOffset);
        case STRRET_CSTR:
            return std::string(name.cStr, ::strnlen(name.cStr, sizeof name.cStr));
        default:
            return {};
    }
}

}  // namespace platform::win32
