#include "core/engine/process/ProcessSnapshot.h"

#include <cstring>
#include <utility>

namespace zorvik {

using platform::SystemProcessInformation;
using platform::SystemThreadInformation;

SnapshotBlock AllocateSnapshotBlock(std::size_t size) {
    return SnapshotBlock(static_cast<std::uint8_t*>(std::calloc(size ? size : 1, 1)));
}

ProcessSnapshot::ProcessSnapshot(SnapshotBlock block, std::size_t size)
    : block_(std::move(block)), size_(block_ ? size : 0) {}

template <typename Visit>
void ProcessSnapshot::Walk(Visit visit) const {
    // 64-bit arithmetic, so that offset + NextEntryOffset cannot wrap in the 32-bit build.
    std::uint64_t offset = 0;
    while (offset <= size_ && size_ - offset >= sizeof(SystemProcessInformation)) {
        // Copied out rather than cast in place: the block promises no alignment past a bad offset.
        SystemProcessInformation process;
        std::memcpy(&process, block_.get() + offset, sizeof process);
        if (visit(process, offset)) return;
        if (process.NextEntryOffset == 0) break;
        offset += process.NextEntryOffset;
    }
}

std::optional<ProcessRecord> ProcessSnapshot::Find(std::uint32_t processId) const {
    std::optional<ProcessRecord> found;
    Walk([&](const SystemProcessInformation& process, std::uint64_t offset) {
        if (process.UniqueProcessId != static_cast<std::uintptr_t>(processId)) return false;
        ProcessRecord record;
        record.numberOfThreads = process.NumberOfThreads;
        record.uniqueProcessId = process.UniqueProcessId;
        record.inheritedFromUniqueProcessId = process.InheritedFromUniqueProcessId;
        const std::uint64_t threadOffset = offset + sizeof(SystemProcessInformation);
        if (process.NumberOfThreads > 0 &&
            size_ - threadOffset >= sizeof(SystemThreadInformation)) {
            SystemThreadInformation thread;
            std::memcpy(&thread, block_.get() + threadOffset, sizeof thread);
            record.firstThread = thread;
        }
        found = record;
        return true;
    });
    return found;
}

std::vector<std::uint32_t> ProcessSnapshot::ProcessIds() const {
    std::vector<std::uint32_t> ids;
    Walk([&](const SystemProcessInformation& process, std::uint64_t) {
        ids.push_back(static_cast<std::uint32_t>(process.UniqueProcessId));
        return false;
    });
    return ids;
}

std::optional<std::string> ProcessSnapshot::ImageNameOf(
    const platform::NtUnicodeString& name) const {
    // The system writes the names into the block after the records and points at them there;
    // a pointer anywhere else is not followed.
    const auto start = reinterpret_cast<std::uintptr_t>(block_.get());
    if (name.Length == 0 || name.Length % 2 != 0 || name.Buffer < start ||
        name.Buffer - start > size_ || size_ - (name.Buffer - start) < name.Length)
        return std::nullopt;
    const std::uint8_t* at = block_.get() + (name.Buffer - start);
    std::string text;
    for (std::size_t i = 0; i < name.Length; i += 2) {
        const unsigned wide = at[i] | (at[i + 1] << 8);
        if (wide == 0 || wide > 0x7F) return std::nullopt;
        text += static_cast<char>(wide);
    }
    // Only the file name, should a system give the path.
    const std::size_t cut = text.find_last_of('\\');
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

std::vector<SnapshotProcess> ProcessSnapshot::Processes() const {
    std::vector<SnapshotProcess> processes;
    Walk([&](const SystemProcessInformation& process, std::uint64_t) {
        processes.push_back({static_cast<std::uint32_t>(process.UniqueProcessId),
                             ImageNameOf(process.ImageName)});
        return false;
    });
    return processes;
}

std::optional<ProcessSnapshot> TakeProcessSnapshot(platform::System& sys,
                                                   SnapshotBlockSource allocate) {
    platform::Processes& procs = sys.processes();
    if (!procs.HasSystemInformationQuery()) return std::nullopt;
    for (std::uint32_t size = kSnapshotStartSize; size <= kSnapshotMaxSize;
         size += kSnapshotGrowStep) {
        SnapshotBlock block = allocate(size);
        if (!block) return std::nullopt;
        const std::int32_t status = procs.QuerySystemInformation(
            platform::kSystemProcessInformationClass, block.get(), size);
        if (status == platform::kStatusInfoLengthMismatch) continue;
        if (status < 0) return std::nullopt;
        return ProcessSnapshot(std::move(block), size);
    }
    return std::nullopt;
}

}  // namespace zorvik
