#pragma once
// The simulated TCP table: the scripted rows, handed out sorted as the system sorts them.
#include <memory>
#include <vector>

#include "platform/Processes.h"

namespace platform::sim {

// What the simulated iphlpapi.dll holds; shared by the processes service and every table
// object loaded from it.
struct TcpState {
    std::vector<TcpRow> rows;  // in the order scripted
    bool extended = true;      // GetExtendedTcpTable
    bool legacy = true;        // AllocateAndGetTcpExTableFromStack
    int liveTables = 0;        // table objects holding the library
};

// The rows of one family ordered by local address, local port, remote address, remote port
// (addresses byte by byte in network order, ports as numbers); equal rows keep their order.
std::vector<TcpRow> SortedTcpRows(const std::vector<TcpRow>& rows, AddressFamily family);

// nullptr when the library exports neither function.
std::unique_ptr<TcpTable> LoadSimTcpTable(std::shared_ptr<TcpState> state);

}  // namespace platform::sim
