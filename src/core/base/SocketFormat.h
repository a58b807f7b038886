#pragma once
// Text forms of the TCP table's rows: the console tool's socket listing, the scan report's
// evidence and the process row's tip.
#include <array>
#include <cstdint>
#include <string>

#include "platform/Processes.h"

namespace zorvik {

// The MIB_TCP_STATE name without its prefix ("LISTEN", "ESTAB", "TIME_WAIT", ...); a value
// outside 1 to 12 gives "STATE(n)".
std::string TcpStateName(std::uint32_t state);

// IPv4 dotted ("192.0.2.1"); IPv6 in its compressed form ("fe80::1", "::ffff:192.0.2.1").
std::string FormatAddress(platform::AddressFamily family,
                          const std::array<std::uint8_t, 16>& address);

// "192.0.2.1:80"; IPv6 in brackets: "[::1]:80".
std::string FormatEndpoint(platform::AddressFamily family,
                           const std::array<std::uint8_t, 16>& address, std::uint16_t port);

// "LISTEN 0.0.0.0:80 -> 0.0.0.0:0".
std::string SocketSummary(const platform::TcpRow& row);

// The column heads and one line per row, in the same columns.
std::string SocketHeaderLine();
std::string SocketLine(const platform::TcpRow& row, const std::string& processPath);

}  // namespace zorvik
