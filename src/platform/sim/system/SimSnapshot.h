#pragma once
// The block NtQuerySystemInformation(SystemProcessInformation) fills, built from the
// simulated processes in the layout of platform/ProcessLayout.h.
#include <cstdint>
#include <vector>

#include "platform/sim/system/SimSystem.h"

namespace platform::sim {

struct SnapshotEntry {
    SimProcess process;
    std::vector<std::uint32_t> threadIds;  // one per thread of process
};

// Bytes the whole chain takes: per process its record, its thread records and its image
// name (UTF-16 with a terminating zero, padded to 8 bytes), as the system packs them.
std::uint32_t SnapshotBytes(const std::vector<SnapshotEntry>& entries);
// Writes the chain to buffer, which holds at least SnapshotBytes(entries) bytes.
void WriteSnapshot(const std::vector<SnapshotEntry>& entries, void* buffer);

}  // namespace platform::sim
