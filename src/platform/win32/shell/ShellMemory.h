#pragma once
// Owner for the item id lists (PIDLs) the shell allocates for its caller with the COM task
// allocator: CoTaskMemFree frees them, ILFree included. Its wide texts are TaskWideText.
#include "platform/win32/WindowsApi.h"

#include <shlobj.h>

#include "platform/win32/ComObjects.h"

namespace platform::win32 {

using ItemIdList = Scoped<TaskMemoryTraits<LPITEMIDLIST>>;

}  // namespace platform::win32
