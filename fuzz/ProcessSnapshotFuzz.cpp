// The snapshot walk and the hijack test over any snapshot bytes: the first four bytes name the
// process to find, the next four its parent, the rest is the block as the system filled it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/engine/process/HijackTest.h"
#include "core/engine/process/ProcessSnapshot.h"
#include "platform/sim/system/SimSystem.h"
#include "support/FuzzCheck.h"
#include "support/FuzzFields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader reader(data, size);
    const std::uint32_t pid = reader.Uint32();
    const std::uint32_t parentPid = reader.Uint32();
    const std::string bytes = reader.Rest();
    if (bytes.empty()) return 0;

    // Exactly the block's size, so that any read past it is caught.
    zorvik::SnapshotBlock block = zorvik::AllocateSnapshotBlock(bytes.size());
    if (!block) return 0;
    std::memcpy(block.get(), bytes.data(), bytes.size());
    const zorvik::ProcessSnapshot snapshot(std::move(block), bytes.size());

    for (const std::uint32_t wanted : {pid, parentPid}) {
        const auto record = snapshot.Find(wanted);
        if (record) FUZZ_CHECK(record->uniqueProcessId == wanted);
    }

    platform::sim::SimSystem sys;
    platform::sim::SimProcess process;
    process.pid = pid;
    process.parentPid = parentPid;
    process.imagePath = "C:\\Apps\\prog.exe";
    sys.procs().AddProcess(process);
    platform::sim::SimProcess parent;
    parent.pid = parentPid;
    parent.imagePath = "C:\\WINDOWS\\explorer.exe";
    if (parentPid != pid) sys.procs().AddProcess(parent);

    const std::string before = "Possible Bot Process, ";
    std::string details = before;
    const bool hijacked = zorvik::HijackTest(sys, &snapshot, pid, details, process.imagePath);
    if (hijacked) {
        const std::string verdict = zorvik::kHijackVerdict;
        FUZZ_CHECK(details.size() >= before.size() + verdict.size());
        FUZZ_CHECK(details.compare(details.size() - verdict.size(), verdict.size(), verdict) == 0);
    } else {
        FUZZ_CHECK(details == before);
    }
    FUZZ_CHECK(sys.procs().OpenHandleCount() == 0);
    return 0;
}
