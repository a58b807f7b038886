// Both TCP-table functions of iphlpapi.dll give the same rows for this process's sockets.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/system/Win32TcpTable.h"
#include "win32/LoopbackSockets.h"

namespace {

using platform::AddressFamily;
using platform::TcpRow;
using platform::win32::LoadWin32TcpTable;
using platform::win32::TcpFunctionChoice;

// The rows of the connection's client end: local port clientPort, remote port port.
std::vector<TcpRow> ClientRows(const std::vector<TcpRow>& rows, const testsupport::LoopbackSockets& s) {
    std::vector<TcpRow> found;
    for (const auto& row : rows)
        if (row.localPort == s.clientPort() && row.remotePort == s.port()) found.push_back(row);
    return found;
}

TEST(TcpTableFunctions, LegacyFunctionListsIpv4OnlyWithOwners) {
    auto legacy = LoadWin32TcpTable(TcpFunctionChoice::LegacyOnly);
    if (!legacy) GTEST_SKIP() << "this system has no AllocateAndGetTcpExTableFromStack";
    EXPECT_TRUE(legacy->Supports(AddressFamily::V4));
    EXPECT_FALSE(legacy->Supports(AddressFamily::V6));
    EXPECT_FALSE(legacy->Rows(AddressFamily::V6).has_value());

    testsupport::LoopbackSockets sockets;
    ASSERT_NE(sockets.port(), 0);
    auto legacyRows = legacy->Rows(AddressFamily::V4);
    ASSERT_TRUE(legacyRows.has_value());
    auto client = ClientRows(*legacyRows, sockets);
    ASSERT_EQ(client.size(), 1u);
    EXPECT_EQ(client[0].state, platform::kTcpStateEstab);
    EXPECT_EQ(client[0].owningPid, ::GetCurrentProcessId());
    EXPECT_EQ(client[0].localAddress[0], 127);

    auto extended = LoadWin32TcpTable(TcpFunctionChoice::Preferred);
    ASSERT_TRUE(extended);
    auto extendedRows = extended->Rows(AddressFamily::V4);
    ASSERT_TRUE(extendedRows.has_value());
    auto same = ClientRows(*extendedRows, sockets);
    ASSERT_EQ(same.size(), 1u);
    EXPECT_EQ(same[0].state, client[0].state);
    EXPECT_EQ(same[0].owningPid, client[0].owningPid);
    EXPECT_EQ(same[0].localAddress, client[0].localAddress);
    EXPECT_EQ(same[0].remoteAddress, client[0].remoteAddress);
}

TEST(TcpTableFunctions, TableIsSortedByLocalEndpoint) {
    auto table = LoadWin32TcpTable();
    ASSERT_TRUE(table);
    testsupport::LoopbackSockets sockets;
    ASSERT_NE(sockets.port(), 0);
    auto rows = table->Rows(AddressFamily::V4);
    ASSERT_TRUE(rows.has_value());
    ASSERT_GE(rows->size(), 3u);
    auto key = [](const TcpRow& r) {
        std::uint64_t address = (std::uint64_t{r.localAddress[0]} << 24) | (r.localAddress[1] << 16) |
                                (r.localAddress[2] << 8) | r.localAddress[3];
        return (address << 16) | r.localPort;
    };
    for (std::size_t i = 1; i < rows->size(); ++i)
        EXPECT_LE(key((*rows)[i - 1]), key((*rows)[i])) << "row " << i;
}

}  // namespace
