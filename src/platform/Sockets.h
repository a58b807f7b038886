#pragma once
// The sockets library's start (WSAStartup 2.2) and end (WSACleanup).
namespace platform {

class Sockets {
public:
    virtual ~Sockets() = default;
    virtual bool Startup() = 0;
    virtual void Cleanup() = 0;
};

}  // namespace platform
