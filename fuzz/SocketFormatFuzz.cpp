// Socket formatting over any TCP row: addresses read back to their bytes, states always name
// something, and the listing line is one line.
#include <arpa/inet.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/report/EvidenceReport.h"
#include "core/base/SocketFormat.h"
#include "support/FuzzCheck.h"
#include "support/FuzzFields.h"
#include "support/StrictJson.h"
#include "support/Utf8.h"

namespace {

// The address text parsed by the C library gives back the bytes it was made from.
void CheckAddress(platform::AddressFamily family, const std::array<std::uint8_t, 16>& address) {
    const std::string text = zorvik::FormatAddress(family, address);
    std::array<std::uint8_t, 16> parsed{};
    const bool v6 = family == platform::AddressFamily::V6;
    FUZZ_CHECK(inet_pton(v6 ? AF_INET6 : AF_INET, text.c_str(), parsed.data()) == 1);
    FUZZ_CHECK(std::memcmp(parsed.data(), address.data(), v6 ? 16 : 4) == 0);
    // The compressed form never holds a second "::".
    const std::size_t gap = text.find("::");
    FUZZ_CHECK(gap == std::string::npos || text.find("::", gap + 1) == std::string::npos);
    // And it is the shortest one: the longest zero run compressed, the first of equal runs, as
    // the C library writes it. Only addresses whose first 80 bits are zero are left out: the C
    // library writes the IPv4-compatible ones with a dotted tail, which nothing else does.
    bool ipv4Tail = v6;
    for (std::size_t i = 0; i < 10; ++i) ipv4Tail = ipv4Tail && address[i] == 0;
    if (v6 && !ipv4Tail) {
        char expected[INET6_ADDRSTRLEN] = {};
        FUZZ_CHECK(inet_ntop(AF_INET6, address.data(), expected, sizeof expected) != nullptr);
        FUZZ_CHECK(text == expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader in(data, size);
    platform::TcpRow row;
    row.state = in.Uint32();
    row.family = (in.Byte() & 1) ? platform::AddressFamily::V6 : platform::AddressFamily::V4;
    for (auto& b : row.localAddress) b = in.Byte();
    for (auto& b : row.remoteAddress) b = in.Byte();
    row.localPort = static_cast<std::uint16_t>(in.Uint32());
    row.remotePort = static_cast<std::uint16_t>(in.Uint32());
    row.owningPid = in.Uint32();
    const std::string processPath = in.Rest();

    CheckAddress(row.family, row.localAddress);
    CheckAddress(row.family, row.remoteAddress);
    FUZZ_CHECK(!zorvik::TcpStateName(row.state).empty());

    const std::string endpoint = zorvik::FormatEndpoint(row.family, row.localAddress, row.localPort);
    const std::string port = ":" + std::to_string(row.localPort);
    FUZZ_CHECK(endpoint.size() > port.size() &&
               endpoint.compare(endpoint.size() - port.size(), port.size(), port) == 0);

    const std::string line = zorvik::SocketLine(row, processPath);
    if (processPath.find_first_of("\r\n") == std::string::npos)
        FUZZ_CHECK(line.find('\n') == std::string::npos || line.find('\n') == line.size() - 1);
    const std::string json = zorvik::SocketsJson({row, row});
    FUZZ_CHECK(fuzz::IsValidUtf8(json) && fuzz::IsStrictJson(json));
    zorvik::SocketHeaderLine();
    return 0;
}
