#include "platform/sim/system/SimSnapshot.h"

#include <cstring>
#include <string>

#include "platform/ProcessLayout.h"

namespace platform::sim {

namespace {

std::string ImageFileName(const std::string& imagePath) {
    std::size_t cut = imagePath.find_last_of("\\/");
    return cut == std::string::npos ? imagePath : imagePath.substr(cut + 1);
}

std::uint32_t NameBytes(const SimProcess& process) {
    std::size_t chars = ImageFileName(process.imagePath).size();
    if (chars == 0) return 0;  // the idle process has no name
    std::uint32_t bytes = static_cast<std::uint32_t>(2 * (chars + 1));
    return (bytes + 7) & ~7u;
}

std::uint32_t EntryBytes(const SnapshotEntry& entry) {
    return static_cast<std::uint32_t>(sizeof(SystemProcessInformation) +
                                      entry.process.threads.size() * sizeof(SystemThreadInformation)) +
           NameBytes(entry.process);
}

}  // namespace

std::uint32_t SnapshotBytes(const std::vector<SnapshotEntry>& entries) {
    std::uint32_t total = 0;
    for (const auto& entry : entries) total += EntryBytes(entry);
    // An empty system still answers with one record of zeros.
    return total ? total : static_cast<std::uint32_t>(sizeof(SystemProcessInformation));
}

void WriteSnapshot(const std::vector<SnapshotEntry>& entries, void* buffer) {
    auto* base = static_cast<unsigned char*>(buffer);
    if (entries.empty()) {
        std::memset(base, 0, sizeof(SystemProcessInformation));
        return;
    }
    std::uint32_t offset = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SimProcess& process = entries[i].process;
        unsigned char* record = base + offset;
        std::uint32_t size = EntryBytes(entries[i]);

        SystemProcessInformation info{};
        info.NextEntryOffset = i + 1 < entries.size() ? size : 0;
        info.NumberOfThreads = static_cast<std::uint32_t>(process.threads.size());
        info.UniqueProcessId = process.pid;
        info.InheritedFromUniqueProcessId = process.parentPid;
        info.BasePriority = 8;
        info.HandleCount = 20;
        info.SessionId = 1;

        unsigned char* threadRecords = record + sizeof(SystemProcessInformation);
        for (std::size_t t = 0; t < process.threads.size(); ++t) {
            const SimThread& thread = process.threads[t];
            SystemThreadInformation ti{};
            ti.UserTime = thread.userTime;
            ti.ClientIdProcess = process.pid;
            ti.ClientIdThread = t < entries[i].threadIds.size() ? entries[i].threadIds[t] : 0;
            ti.Priority = 8;
            ti.BasePriority = 8;
            ti.ThreadState = thread.threadState;
            ti.WaitReason = thread.waitReason;
            std::memcpy(threadRecords + t * sizeof(SystemThreadInformation), &ti, sizeof ti);
        }

        std::string name = ImageFileName(process.imagePath);
        if (!name.empty()) {
            unsigned char* nameAt = threadRecords + process.threads.size() * sizeof(SystemThreadInformation);
            std::uint32_t nameBytes = NameBytes(process);
            std::memset(nameAt, 0, nameBytes);
            for (std::size_t c = 0; c < name.size(); ++c) {
                std::uint16_t wide = static_cast<unsigned char>(name[c]);
                std::memcpy(nameAt + 2 * c, &wide, 2);
            }
            info.ImageName.Length = static_cast<std::uint16_t>(2 * name.size());
            info.ImageName.MaximumLength = static_cast<std::uint16_t>(2 * name.size() + 2);
            info.ImageName.Buffer = reinterpret_cast<std::uintptr_t>(nameAt);
        }
        std::memcpy(record, &info, sizeof info);
        offset += size;
    }
}

}  // namespace platform::sim
