#include "platform/win32/system/Win32TcpTable.h"

#include <cstddef>
#include <cstring>

#include "platform/win32/WindowsApi.h"
#include <iphlpapi.h>

#include "platform/win32/system/LibraryModule.h"
#include "platform/win32/system/ScopedHandle.h"

namespace platform::win32 {
namespace {

using GetExtendedTcpTableFn = DWORD(WINAPI*)(PVOID, PDWORD, BOOL, ULONG, TCP_TABLE_CLASS, ULONG);
using AllocateAndGetTcpExTableFromStackFn = DWORD(WINAPI*)(PVOID*, BOOL, HANDLE, DWORD, DWORD);

// The table AllocateAndGetTcpExTableFromStack returns (Windows XP); the SDK no longer
// declares it. Same layout as MIB_TCPTABLE_OWNER_PID.
struct MibTcpExRow {
    DWORD dwState;
    DWORD dwLocalAddr;
    DWORD dwLocalPort;
    DWORD dwRemoteAddr;
    DWORD dwRemotePort;
    DWORD dwProcessId;
};
struct MibTcpExTable {
    DWORD dwNumEntries;
    MibTcpExRow table[1];
};

constexpr DWORD kLegacyTableFlags = 2;
// Room beyond the size asked: 128 rows of either family's table (rows are 6 and 14 DWORDs).
constexpr std::size_t kSpareDwords = 128 * 14;

// Ports sit in the low 16 bits of their DWORD, in network order (high byte first); every Windows
// runs little-endian. Swapped here, so that the sockets library need not be imported for it.
std::uint16_t PortToHost(DWORD port) {
    return static_cast<std::uint16_t>(((port & 0xFF) << 8) | ((port >> 8) & 0xFF));
}

template <typename Row>
TcpRow FromV4Row(const Row& row, DWORD state, DWORD pid) {
    TcpRow out;
    out.state = state;
    out.family = AddressFamily::V4;
    std::memcpy(out.localAddress.data(), &row.dwLocalAddr, 4);
    std::memcpy(out.remoteAddress.data(), &row.dwRemoteAddr, 4);
    out.localPort = PortToHost(row.dwLocalPort);
    out.remotePort = PortToHost(row.dwRemotePort);
    out.owningPid = pid;
    return out;
}

TcpRow FromV6Row(const MIB_TCP6ROW_OWNER_PID& row) {
    TcpRow out;
    out.state = row.dwState;
    out.family = AddressFamily::V6;
    std::memcpy(out.localAddress.data(), row.ucLocalAddr, 16);
    std::memcpy(out.remoteAddress.data(), row.ucRemoteAddr, 16);
    out.localPort = PortToHost(row.dwLocalPort);
    out.remotePort = PortToHost(row.dwRemotePort);
    out.owningPid = row.dwOwningPid;
    return out;
}

class Win32TcpTable : public TcpTable {
public:
    Win32TcpTable(LibraryModule library, GetExtendedTcpTableFn extended,
                  AllocateAndGetTcpExTableFromStackFn legacy)
        : library_(std::move(library)), extended_(extended), legacy_(legacy) {}

    bool Supports(AddressFamily family) const override {
        return family == AddressFamily::V4 ? (extended_ || legacy_) : extended_ != nullptr;
    }

    std::optional<std::vector<TcpRow>> Rows(AddressFamily family) override {
        if (extended_) return ExtendedRows(family);
        if (legacy_ && family == AddressFamily::V4) return LegacyRows();
        return std::nullopt;
    }

private:
    // Each call builds the whole table, owners included, also when it only tells the size (under
    // Wine tens of milliseconds): the first call gets room for the last table of the family, so
    // that one call is the rule; connections opened meanwhile can make it grow again. DWORD
    // elements keep the table's fields aligned.
    std::optional<std::vector<DWORD>> ExtendedBlock(ULONG af, std::size_t lastBytes) {
        std::vector<DWORD> block;
        DWORD size = static_cast<DWORD>(lastBytes);
        for (int attempt = 0; attempt < 16; ++attempt) {
            // Room for a few more rows than asked.
            block.assign(size / sizeof(DWORD) + kSpareDwords, 0);
            size = static_cast<DWORD>(block.size() * sizeof(DWORD));
            const DWORD rc = extended_(block.data(), &size, TRUE, af, TCP_TABLE_OWNER_PID_ALL, 0);
            if (rc == NO_ERROR) return block;
            if (rc != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
        }
        return std::nullopt;
    }

    std::optional<std::vector<TcpRow>> ExtendedRows(AddressFamily family) {
        std::vector<TcpRow> rows;
        if (family == AddressFamily::V4) {
            auto block = ExtendedBlock(AF_INET, lastBytesV4_);
            if (!block) return std::nullopt;
            const auto* table = reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(block->data());
            lastBytesV4_ = offsetof(MIB_TCPTABLE_OWNER_PID, table) +
                           table->dwNumEntries * sizeof(MIB_TCPROW_OWNER_PID);
            for (DWORD i = 0; i < table->dwNumEntries; ++i) {
                const auto& row = table->table[i];
                rows.push_back(FromV4Row(row, row.dwState, row.dwOwningPid));
            }
        } else {
            auto block = ExtendedBlock(AF_INET6, lastBytesV6_);
            if (!block) return std::nullopt;
            const auto* table = reinterpret_cast<const MIB_TCP6TABLE_OWNER_PID*>(block->data());
            lastBytesV6_ = offsetof(MIB_TCP6TABLE_OWNER_PID, table) +
                           table->dwNumEntries * sizeof(MIB_TCP6ROW_OWNER_PID);
            for (DWORD i = 0; i < table->dwNumEntries; ++i) rows.push_back(FromV6Row(table->table[i]));
        }
        return rows;
    }

    std::optional<std::vector<TcpRow>> LegacyRows() {
        PVOID raw = nullptr;
        const DWORD result = legacy_(&raw, TRUE, ::GetProcessHeap(), kLegacyTableFlags, AF_INET);
        // Owned before anything can throw, also should a failing call have left a block.
        const ProcessHeapBlock block(raw);
        if (result != NO_ERROR || !block) return std::nullopt;
        std::vector<TcpRow> rows;
        const auto* table = static_cast<const MibTcpExTable*>(block.get());
        for (DWORD i = 0; i < table->dwNumEntries; ++i) {
            const auto& row = table->table[i];
            rows.push_back(FromV4Row(row, row.dwState, row.dwProcessId));
        }
        return rows;
    }

    LibraryModule library_;
    GetExtendedTcpTableFn extended_;
    AllocateAndGetTcpExTableFromStackFn legacy_;
    // The bytes the last table of each family took, as its row count says (0: none read yet).
    std::size_t lastBytesV4_ = 0;
    std::size_t lastBytesV6_ = 0;
};

}  // namespace

std::unique_ptr<TcpTable> LoadWin32TcpTable(TcpFunctionChoice choice) {
    LibraryModule library("iphlpapi.dll");
    if (!library) return nullptr;
    GetExtendedTcpTableFn extended = nullptr;
    if (choice == TcpFunctionChoice::Preferred)
        extended = library.Find<GetExtendedTcpTableFn>("GetExtendedTcpTable");
    auto legacy = library.Find<AllocateAndGetTcpExTableFromStackFn>(
        "AllocateAndGetTcpExTableFromStack");
    if (!extended && !legacy) return nullptr;
    return std::make_unique<Win32TcpTable>(std::move(library), extended, legacy);
}

}  // namespace platform::win32
