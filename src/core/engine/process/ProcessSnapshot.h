#pragma once
// The process and thread records of one scan, as NtQuerySystemInformation(SystemProcessInformation)
// lays them out for this build's pointer size. The scan owns the snapshot: it takes one at its
// start and drops it after the last hijack test; nothing keeps it between scans.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProcessLayout.h"
#include "platform/System.h"

namespace zorvik {

// What the hijack test reads of one process record.
struct ProcessRecord {
    std::uint32_t numberOfThreads = 0;
    std::uintptr_t uniqueProcessId = 0;
    std::uintptr_t inheritedFromUniqueProcessId = 0;
    // The first thread record; empty when the record lists no thread or the block ends first.
    std::optional<platform::SystemThreadInformation> firstThread;
};

struct SnapshotBlockFree {
    void operator()(std::uint8_t* block) const noexcept { std::free(block); }
};
using SnapshotBlock = std::unique_ptr<std::uint8_t[], SnapshotBlockFree>;

// A zeroed block of size bytes, or null when it cannot be had. Zeroed so that whatever the
// system leaves unwritten reads as zero; calloc leaves fresh pages untouched, so a large
// block that the system turns down costs little.
SnapshotBlock AllocateSnapshotBlock(std::size_t size);

// A process of the snapshot and the file name its record gives (ImageName, e.g. "bot.exe").
struct SnapshotProcess {
    std::uint32_t pid = 0;
    // None where the record gives no name, the name lies outside the block, or it holds a
    // character beyond ASCII, which an ANSI text cannot be compared with.
    std::optional<std::string> imageName;
};

class ProcessSnapshot {
public:
    // Takes over a block of size bytes as the system filled it.
    ProcessSnapshot(SnapshotBlock block, std::size_t size);
    ProcessSnapshot(ProcessSnapshot&&) noexcept = default;
    ProcessSnapshot& operator=(ProcessSnapshot&&) noexcept = default;
    ProcessSnapshot(const ProcessSnapshot&) = delete;
    ProcessSnapshot& operator=(const ProcessSnapshot&) = delete;

    // Walks the chain from the first record to the one whose NextEntryOffset is 0. A record (or
    // first thread record) that would reach past the end of the block ends the walk: a corrupt
    // offset never makes it read outside the block.
    std::optional<ProcessRecord> Find(std::uint32_t processId) const;
    // Every process id the snapshot holds, in its order, walked as Find walks.
    std::vector<std::uint32_t> ProcessIds() const;
    // Every process with its image name, in the snapshot's order.
    std::vector<SnapshotProcess> Processes() const;

    std::size_t size() const { return size_; }

private:
    // Calls visit(record, offset) for each record until it returns true.
    template <typename Visit>
    void Walk(Visit visit) const;
    std::optional<std::string> ImageNameOf(const platform::NtUnicodeString& name) const;

    SnapshotBlock block_;
    std::size_t size_ = 0;
};

// The block grows from 64 KiB by 64 KiB while the system answers STATUS_INFO_LENGTH_MISMATCH.
constexpr std::uint32_t kSnapshotStartSize = 0x10000;
constexpr std::uint32_t kSnapshotGrowStep = 0x10000;
// A system that keeps asking for more beyond this is not believed; the scan then goes on
// without a snapshot rather than growing the block until memory runs out.
constexpr std::uint32_t kSnapshotMaxSize = 256u * 1024u * 1024u;

// Gives each block the query fills: AllocateSnapshotBlock, or in a test one that records the
// sizes asked without taking hundreds of megabytes for a query that never writes.
using SnapshotBlockSource = SnapshotBlock (*)(std::size_t size);

// Empty when the system has no NtQuerySystemInformation, the query fails with any status other
// than a length mismatch, or the block cannot be allocated. The scan goes on either way.
std::optional<ProcessSnapshot> TakeProcessSnapshot(
    platform::System& sys, SnapshotBlockSource allocate = AllocateSnapshotBlock);

}  // namespace zorvik
