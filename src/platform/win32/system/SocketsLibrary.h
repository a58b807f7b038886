#pragma once
// One use of the Windows Sockets library, version 2.2: started (WSAStartup) when made, ended
// (WSACleanup) when it dies. The library counts its starts, so each one needs its own end.
// ws2_32 is a library the system maps itself only from Vista on: it is taken from the system
// folder here, not imported.
#include "platform/win32/WindowsApi.h"
#include "platform/win32/system/LibraryModule.h"

namespace platform::win32 {

class SocketsLibraryUse {
public:
    SocketsLibraryUse() : ws2_32_("ws2_32.dll") {
        const auto startup = ws2_32_.Find<WsaStartupFn>("WSAStartup");
        cleanup_ = ws2_32_.Find<WsaCleanupFn>("WSACleanup");
        WSADATA data{};
        started_ = startup && cleanup_ && startup(MAKEWORD(2, 2), &data) == 0;
    }
    SocketsLibraryUse(const SocketsLibraryUse&) = delete;
    SocketsLibraryUse& operator=(const SocketsLibraryUse&) = delete;
    // A start that failed is no start: it has no end.
    ~SocketsLibraryUse() {
        if (started_) cleanup_();
    }
    bool Started() const { return started_; }

private:
    using WsaStartupFn = int(WINAPI*)(WORD, LPWSADATA);
    using WsaCleanupFn = int(WINAPI*)();

    LibraryModule ws2_32_;
    WsaCleanupFn cleanup_ = nullptr;
    bool started_ = false;
};

}  // namespace platform::win32
