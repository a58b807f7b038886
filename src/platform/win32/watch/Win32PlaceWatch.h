#pragma once
// The place watch of the Windows build: registry and folder change notifications, waited on by
// threads of at most 63 places each.
#include <memory>

#include "platform/PlaceWatch.h"

namespace platform::win32 {

std::unique_ptr<PlaceWatch> CreateWin32PlaceWatch();

}  // namespace platform::win32
