#include "platform/win32/system/Win32Sockets.h"

#include "platform/win32/WindowsApi.h"

namespace platform::win32 {

bool Win32Sockets::Startup() {
    WSADATA data{};
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void Win32Sockets::Cleanup() { ::WSACleanup(); }

}  // namespace platform::win32
