#include "platform/win32/shell/StrRetText.h"

#include <cstring>
#include <utility>

#include "platform/win32/shell/ShellMemory.h"
#include "platform/win32/system/AnsiText.h"

namespace platform::win32 {

std::string TakeStrRetText(STRRET& name, LPCITEMIDLIST item) {
    switch (name.uType) {
        case STRRET_WSTR: {
            const TaskWideText owned(std::exchange(name.pOleStr, nullptr));
            return ToAnsi(owned.get());
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
