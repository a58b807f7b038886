#pragma once
// The TCP table with owning process ids, from iphlpapi.dll: GetExtendedTcpTable where the
// system has it (XP SP2 and later, IPv4 and IPv6), else the XP-only
// AllocateAndGetTcpExTableFromStack (IPv4 only).
#include <memory>

#include "platform/Processes.h"

namespace platform::win32 {

enum class TcpFunctionChoice {
    Preferred,   // GetExtendedTcpTable, else the XP function
    LegacyOnly,  // only AllocateAndGetTcpExTableFromStack (to exercise the XP path)
};

// Null when the library or both functions are missing. The object holds the library.
std::unique_ptr<TcpTable> LoadWin32TcpTable(TcpFunctionChoice choice = TcpFunctionChoice::Preferred);

}  // namespace platform::win32
