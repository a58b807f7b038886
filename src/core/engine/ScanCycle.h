#pragma once
// One scan: every running program that owns a listening or connected TCP socket, is not
// trusted, and starts with Windows or looks hijacked, then the Active Setup stubs. The main
// window and the console tool run the same cycle; only what they do with the rows differs.
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/PlaceEntries.h"
#include "platform/System.h"

namespace zorvik {

enum class ScanStatus {
    Done,        // the cycle ran to its end
    NoTcpTable   // the system has no TCP-table function: nothing was examined
};

// The details text every socket-owning program's row starts with.
inline constexpr const char* kBotProcessDetails = "Possible Bot Process, ";

// The system's TCP-table function, found once: null when the system has none.
std::unique_ptr<platform::TcpTable> LoadTcpTableEntry(platform::System& sys);

// Appends the rows of one scan to list, in the order of the TCP table (IPv4 first, then IPv6
// where the system lists it): a program takes the place of its first listening or connected
// socket, and each process is examined at most once. The Active Setup rows follow. An error
// of the start-up search (an AppError) ends the cycle at once; the rows added so far stay.
// entries, when given, gets every start-up entry the places held (PlaceEntries.h).
ScanStatus ScanCycle(platform::System& sys, platform::TcpTable* tcpTableEntry,
                     const ScanOptions& options, const TrustedList& trusted, ProcessList& list,
                     PlaceEntries* entries = nullptr);
// The same cycle over places read already (a watch's picture of them): none is read again.
ScanStatus ScanCycle(platform::System& sys, platform::TcpTable* tcpTableEntry,
                     const ScanOptions& options, const TrustedList& trusted, ProcessList& list,
                     const StartupPlaces& places);

// The rows the cycle gives the processes among pids, and those only, over places read already
// and the rows of one read of the TCP tables (IPv4 then IPv6): each is examined, searched for
// and listed as a whole scan would. What a watch judges of the programs a change names; no
// Active Setup rows, as the stubs are no processes.
void ListChosenProcesses(platform::System& sys, const std::vector<platform::TcpRow>& sockets,
                         const std::set<std::uint32_t>& pids, const ScanOptions& options,
                         const TrustedList& trusted, ProcessList& list,
                         const StartupPlaces& places);

}  // namespace zorvik
