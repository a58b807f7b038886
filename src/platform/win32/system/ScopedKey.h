#pragma once
// Owner of an open registry key. RegOpenKeyExA hands back the predefined root itself when the
// sub-key path is empty; such a root belongs to the system and is never closed here.
#include "platform/win32/WindowsApi.h"

#include "platform/win32/system/ScopedHandle.h"

namespace platform::win32 {

inline bool IsPredefinedKey(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE ||
           key == HKEY_USERS || key == HKEY_PERFORMANCE_DATA || key == HKEY_CURRENT_CONFIG ||
           key == HKEY_DYN_DATA;
}

struct RegKeyTraits {
    using Value = HKEY;
    static Value None() { return nullptr; }
    static bool IsNone(Value k) { return k == nullptr || IsPredefinedKey(k); }
    static void Close(Value k) { ::RegCloseKey(k); }
};

using ScopedKey = Scoped<RegKeyTraits>;

}  // namespace platform::win32
