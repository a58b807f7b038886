// Text forms of TCP rows: state names, endpoints, the listing's columns.
#include "core/base/SocketFormat.h"

#include <cstdio>
#include <iterator>

namespace zorvik {

namespace {

constexpr std::size_t kStateWidth = 11;
constexpr std::size_t kEndpointWidth = 23;  // "255.255.255.255:65535" and two to spare
constexpr std::size_t kPidWidth = 7;

// Left-aligned in width, always followed by at least one blank so long IPv6 endpoints
// still stand apart from the next column.
std::string PadRight(const std::string& text, std::size_t width) {
    std::string padded = text;
    padded.append(padded.size() < width ? width - padded.size() : 0, ' ');
    padded += ' ';
    return padded;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

std::string DottedQuad(const std::uint8_t* bytes) {
    return std::to_string(bytes[0]) + '.' + std::to_string(bytes[1]) + '.' +
           std::to_string(bytes[2]) + '.' + std::to_string(bytes[3]);
}

std::string Ipv6Text(const std::array<std::uint8_t, 16>& address) {
    std::array<unsigned, 8> groups{};
    for (std::size_t i = 0; i < groups.size(); ++i) {
        groups[i] = (unsigned{address[2 * i]} << 8) | address[2 * i + 1];
    }

    // ::ffff:a.b.c.d for IPv4 addresses seen through an IPv6 socket.
    bool mapped = groups[5] == 0xFFFF;
    for (std::size_t i = 0; i < 5; ++i) mapped = mapped && groups[i] == 0;
    if (mapped) return "::ffff:" + DottedQuad(address.data() + 12);

    // The longest run of two or more zero groups becomes "::"; of equal runs, the first.
    std::size_t bestStart = groups.size(), bestLength = 1;
    for (std::size_t i = 0; i < groups.size();) {
        if (groups[i] != 0) { ++i; continue; }
        std::size_t j = i;
        while (j < groups.size() && groups[j] == 0) ++j;
        if (j - i > bestLength) { bestStart = i; bestLength = j - i; }
        i = j;
    }

    std::string text;
    char hex[8];
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i == bestStart) {
            text += "::";
            i += bestLength - 1;
            continue;
        }
        if (!text.empty() && text.back() != ':') text += ':';
        std::snprintf(hex, sizeof hex, "%x", groups[i]);
        text += hex;
    }
    return text;
}

}  // namespace

std::string TcpStateName(std::uint32_t state) {
    static constexpr const char* kNames[] = {
        "CLOSED",    "LISTEN",     "SYN_SENT", "SYN_RCVD", "ESTAB",     "FIN_WAIT1",
        "FIN_WAIT2", "CLOSE_WAIT", "CLOSING",  "LAST_ACK", "TIME_WAIT", "DELETE_TCB"};
    if (state >= 1 && state <= std::size(kNames)) return kNames[state - 1];
    return "STATE(" + std::to_string(state) + ")";
}

std::string FormatAddress(platform::AddressFamily family,
                          const std::array<std::uint8_t, 16>& address) {
    if (family == platform::AddressFamily::V4) return DottedQuad(address.data());
    return Ipv6Text(address);
}

std::string FormatEndpoint(platform::AddressFamily family,
                           const std::array<std::uint8_t, 16>& address, std::uint16_t port) {
    const std::string host = FormatAddress(family, address);
    const std::string portText = std::to_string(port);
    if (family == platform::AddressFamily::V4) return host + ':' + portText;
    return '[' + host + "]:" + portText;
}

std::string SocketSummary(const platform::TcpRow& row) {
    return TcpStateName(row.state) + ' ' +
           FormatEndpoint(row.family, row.localAddress, row.localPort) + " -> " +
           FormatEndpoint(row.family, row.remoteAddress, row.remotePort);
}

std::string SocketHeaderLine() {
    return PadRight("State", kStateWidth) + PadRight("Local", kEndpointWidth) +
           PadRight("Remote", kEndpointWidth) + PadLeft("PID", kPidWidth) + "  Program";
}

std::string SocketLine(const platform::TcpRow& row, const std::string& processPath) {
    return PadRight(TcpStateName(row.state), kStateWidth) +
           PadRight(FormatEndpoint(row.family, row.localAddress, row.localPort),
                    kEndpointWidth) +
           PadRight(FormatEndpoint(row.family, row.remoteAddress, row.remotePort),
                    kEndpointWidth) +
           PadLeft(std::to_string(row.owningPid), kPidWidth) + "  " + processPath;
}

}  // namespace zorvik
