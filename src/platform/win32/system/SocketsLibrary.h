#pragma once
// One use of the Windows Sockets library, version 2.2: started (WSAStartup) when made, ended
// (WSACleanup) when it dies. The library counts its starts, so each one needs its own end.
#include "platform/win32/WindowsApi.h"

namespace platform::win32 {

class SocketsLibraryUse {
public:
    SocketsLibraryUse() {
        WSADATA data{};
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    SocketsLibraryUse(const SocketsLibraryUse&) = delete;
    SocketsLibraryUse& operator=(const SocketsLibraryUse&) = delete;
    // A start that failed is no start: it has no end.
    ~SocketsLibraryUse() {
        if (started_) ::WSACleanup();
    }
    bool Started() const { return started_; }

private:
    bool started_ = false;
};

}  // namespace platform::win32
