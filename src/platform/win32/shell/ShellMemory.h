#pragma once
// Owners for what the shell allocates for its caller with the COM task allocator: item id
// lists (PIDLs) and wide texts. CoTaskMemFree frees both, ILFree included.
#include "platform/win32/WindowsApi.h"

#include <shlobj.h>

#include "platform/win32/system/ScopedHandle.h"

namespace platform::win32 {

template <typename Pointer>
struct TaskMemoryTraits {
    using Value = Pointer;
    static Value None() { return nullptr; }
    static bool IsNone(Value p) { return p == nullptr; }
    static void Close(Value p) { ::CoTaskMemFree(p); }
};

using ItemIdList = Scoped<TaskMemoryTraits<LPITEMIDLIST>>;
using TaskWideText = Scoped<TaskMemoryTraits<LPWSTR>>;

}  // namespace platform::win32
