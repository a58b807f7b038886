#pragma once
// A listener on 127.0.0.1 with a connection to it whose two ends have exchanged a few bytes,
// so that the system's TCP table shows all three sockets with this process as their owner.
#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <utility>

#include "platform/win32/system/SocketsLibrary.h"

namespace testsupport {

class Socket {
public:
    Socket() = default;
    explicit Socket(SOCKET s) : s_(s) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket(Socket&& o) noexcept : s_(std::exchange(o.s_, INVALID_SOCKET)) {}
    Socket& operator=(Socket&& o) noexcept {
        if (this != &o) { Reset(); s_ = std::exchange(o.s_, INVALID_SOCKET); }
        return *this;
    }
    ~Socket() { Reset(); }
    void Reset() {
        if (s_ != INVALID_SOCKET) ::closesocket(s_);
        s_ = INVALID_SOCKET;
    }
    SOCKET get() const { return s_; }
    explicit operator bool() const { return s_ != INVALID_SOCKET; }

private:
    SOCKET s_ = INVALID_SOCKET;
};

class LoopbackSockets {
public:
    LoopbackSockets() {
        if (library_.Started()) port_ = Open();
    }
    LoopbackSockets(const LoopbackSockets&) = delete;
    LoopbackSockets& operator=(const LoopbackSockets&) = delete;

    // The listener's port, host order; 0 when the sockets could not be set up.
    std::uint16_t port() const { return port_; }
    // The client end's own port, host order.
    std::uint16_t clientPort() const { return clientPort_; }

private:
    std::uint16_t Open() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        Socket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        if (!listener ||
            ::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener.get(), 4) != 0)
            return 0;
        int length = sizeof address;
        if (::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return 0;
        Socket client(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        if (!client ||
            ::connect(client.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            return 0;
        Socket server(::accept(listener.get(), nullptr, nullptr));
        if (!server) return 0;
        // Both ends send and receive, so that the system has seen this process use them.
        char reply[4] = {};
        if (::send(client.get(), "ping", 4, 0) != 4 || ::recv(server.get(), reply, 4, 0) != 4 ||
            ::send(server.get(), "pong", 4, 0) != 4 || ::recv(client.get(), reply, 4, 0) != 4)
            return 0;
        // Wine names a socket's owner only once the program itself has used the socket's
        // descriptor; an option set on the listener does that (accepting does not).
        BOOL keepAlive = TRUE;
        ::setsockopt(listener.get(), SOL_SOCKET, SO_KEEPALIVE,
                     reinterpret_cast<const char*>(&keepAlive), sizeof keepAlive);
        sockaddr_in clientAddress{};
        length = sizeof clientAddress;
        if (::getsockname(client.get(), reinterpret_cast<sockaddr*>(&clientAddress), &length) != 0)
            return 0;
        clientPort_ = ::ntohs(clientAddress.sin_port);
        listener_ = std::move(listener);
        client_ = std::move(client);
        server_ = std::move(server);
        return ::ntohs(address.sin_port);
    }

    // First, so that the sockets close before the library ends.
    platform::win32::SocketsLibraryUse library_;
    std::uint16_t port_ = 0;
    std::uint16_t clientPort_ = 0;
    Socket listener_, client_, server_;
};

}  // namespace testsupport
