#include "platform/win32/system/Win32Sockets.h"

namespace platform::win32 {

bool Win32Sockets::Startup() {
    auto use = std::make_unique<SocketsLibraryUse>();
    if (!use->Started()) return false;
    uses_.push_back(std::move(use));
    return true;
}

void Win32Sockets::Cleanup() {
    if (!uses_.empty()) uses_.pop_back();
}

}  // namespace platform::win32
