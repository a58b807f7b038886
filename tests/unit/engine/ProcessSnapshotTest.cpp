// The process snapshot: how the block is asked for and grown, and how its chain is walked.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/engine/process/ProcessSnapshot.h"
#include "platform/sim/system/SimSystem.h"

namespace {

using platform::SystemProcessInformation;
using platform::SystemThreadInformation;
using platform::sim::SimProcess;
using platform::sim::SimSystem;
using platform::sim::SimThread;
using zorvik::ProcessSnapshot;
using zorvik::TakeProcessSnapshot;

// Forwards to the simulated processes but answers the system query with a scripted status,
// for the answers the simulated system does not give on its own.
class ScriptedStatusProcesses : public platform::Processes {
public:
    ScriptedStatusProcesses(platform::Processes& inner, std::int32_t status)
        : inner_(inner), status_(status) {}
    std::vector<std::uint32_t> sizes;

    std::unique_ptr<platform::TcpTable> LoadTcpTable() override { return inner_.LoadTcpTable(); }
    bool HasSystemInformationQuery() override { return true; }
    std::int32_t QuerySystemInformation(std::uint32_t, void*, std::uint32_t size) override {
        sizes.push_back(size);
        return status_;
    }
    Handle Open(std::uint32_t pid, std::uint32_t access) override { return inner_.Open(pid, access); }
    void Close(Handle process) override { inner_.Close(process); }
    std::uintptr_t FirstModule(Handle process) override { return inner_.FirstModule(process); }
    std::optional<std::string> ModuleFileName(Handle process, std::uintptr_t module) override {
        return inner_.ModuleFileName(process, module);
    }
    std::optional<std::string> FullImageName(Handle process) override {
        return inner_.FullImageName(process);
    }
    std::optional<std::uintptr_t> FirstModuleBase(std::uint32_t pid) override {
        return inner_.FirstModuleBase(pid);
    }
    std::optional<platform::PathList> LoadedModules(std::uint32_t pid) override {
        return inner_.LoadedModules(pid);
    }
    bool ReadMemory(Handle process, std::uintptr_t address, void* buffer,
                    std::size_t size) override {
        return inner_.ReadMemory(process, address, buffer, size);
    }
    bool Terminate(Handle process, std::uint32_t exitCode) override {
        return inner_.Terminate(process, exitCode);
    }

private:
    platform::Processes& inner_;
    std::int32_t status_;
};

class ScriptedStatusSystem : public platform::System {
public:
    explicit ScriptedStatusSystem(std::int32_t status) : procs(sim.processes(), status) {}
    SimSystem sim;
    ScriptedStatusProcesses procs;

    platform::Registry& registry() override { return sim.registry(); }
    platform::Files& files() override { return sim.files(); }
    platform::Profile& profile() override { return sim.profile(); }
    platform::Accounts& accounts() override { return sim.accounts(); }
    platform::Processes& processes() override { return procs; }
    platform::Sockets& sockets() override { return sim.sockets(); }
    platform::Shell& shell() override { return sim.shell(); }
    platform::Ui& ui() override { return sim.ui(); }
};

SimProcess Process(std::uint32_t pid, std::uint32_t parentPid, std::size_t threadCount = 1) {
    SimProcess p;
    p.pid = pid;
    p.parentPid = parentPid;
    p.imagePath = "C:\\Apps\\p" + std::to_string(pid) + ".exe";
    p.threads.assign(threadCount, SimThread{});
    return p;
}

TEST(TakeProcessSnapshot, AsksOnceWith64KiBWhenTheRecordsFit) {
    SimSystem sys;
    SimProcess p = Process(1200, 800, 2);
    p.threads[0] = SimThread{5, 5, 0};
    sys.procs().AddProcess(p);

    const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys);

    ASSERT_TRUE(snapshot.has_value());
    EXPECT_EQ(sys.procs().QuerySizes(), (std::vector<std::uint32_t>{0x10000}));
    const std::optional<zorvik::ProcessRecord> record = snapshot->Find(1200);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->numberOfThreads, 2u);
    EXPECT_EQ(record->inheritedFromUniqueProcessId, 800u);
    ASSERT_TRUE(record->firstThread.has_value());
    EXPECT_EQ(record->firstThread->ThreadState, 5u);
    EXPECT_EQ(record->firstThread->WaitReason, 5u);
    EXPECT_EQ(record->firstThread->UserTime, 0);
    EXPECT_FALSE(snapshot->Find(4321).has_value());
}

TEST(TakeProcessSnapshot, GrowsBy64KiBUntilTheRecordsFit) {
    SimSystem sys;
    // 450 records of one thread each need more than 128 KiB and, with their short image names
    // ("p5000.exe", 24 bytes with padding), less than 192 KiB.
    constexpr std::uint32_t kCount = 450;
    constexpr std::size_t kRecord = sizeof(SystemProcessInformation) + sizeof(SystemThreadInformation);
    static_assert(kCount * kRecord > 0x20000);
    static_assert(kCount * (kRecord + 32) < 0x30000);
    for (std::uint32_t i = 0; i < kCount; ++i) sys.procs().AddProcess(Process(5000 + 4 * i, 4));

    const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys);

    ASSERT_TRUE(snapshot.has_value());
    EXPECT_EQ(sys.procs().QuerySizes(),
              (std::vector<std::uint32_t>{0x10000, 0x20000, 0x30000}));
    EXPECT_EQ(snapshot->size(), 0x30000u);
    const std::optional<zorvik::ProcessRecord> last = snapshot->Find(5000 + 4 * (kCount - 1));
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->inheritedFromUniqueProcessId, 4u);
}

TEST(TakeProcessSnapshot, NoSystemQueryGivesNoSnapshot) {
    SimSystem sys;
    sys.procs().AddProcess(Process(1200, 800));
    sys.procs().SetSystemInformationQuery(false);

    EXPECT_FALSE(TakeProcessSnapshot(sys).has_value());
    EXPECT_TRUE(sys.procs().QuerySizes().empty());
}

TEST(TakeProcessSnapshot, AFailureOtherThanLengthMismatchEndsAtOnce) {
    for (const std::uint32_t status : {0xC0000022u /* access denied */,
                                       0xC0000017u /* no memory */, 0x80000005u /* overflow */}) {
        ScriptedStatusSystem sys(static_cast<std::int32_t>(status));
        EXPECT_FALSE(TakeProcessSnapshot(sys).has_value()) << std::hex << status;
        EXPECT_EQ(sys.procs.sizes, (std::vector<std::uint32_t>{0x10000})) << std::hex << status;
    }
}

TEST(TakeProcessSnapshot, AnInformationalStatusCountsAsSuccess) {
    ScriptedStatusSystem sys(0x00000103);  // STATUS_PENDING: not negative
    const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys);
    ASSERT_TRUE(snapshot.has_value());
    EXPECT_EQ(sys.procs.sizes.size(), 1u);
}

// The scripted query never writes to its block, so one byte stands in for each size asked:
// the 4,096 asks up to the limit then cost nothing, even under a sanitizer that would fill
// the shadow of every large block.
zorvik::SnapshotBlock TokenBlock(std::size_t) { return zorvik::AllocateSnapshotBlock(1); }

TEST(TakeProcessSnapshot, ASystemThatNeverFitsIsGivenUpOnAtTheLimit) {
    ScriptedStatusSystem sys(platform::kStatusInfoLengthMismatch);

    EXPECT_FALSE(TakeProcessSnapshot(sys, TokenBlock).has_value());

    ASSERT_EQ(sys.procs.sizes.size(), zorvik::kSnapshotMaxSize / zorvik::kSnapshotGrowStep);
    EXPECT_EQ(sys.procs.sizes[1], 0x20000u);
    EXPECT_EQ(sys.procs.sizes.back(), zorvik::kSnapshotMaxSize);
}

// Hand-made blocks, for chains the system would not normally give.
class BlockBuilder {
public:
    // Appends a process record with threadCount thread records; returns its offset.
    std::size_t Add(std::uintptr_t pid, std::uintptr_t parentPid, std::uint32_t threadCount,
                    std::uint32_t firstThreadState = 2) {
        const std::size_t offset = bytes_.size();
        SystemProcessInformation process{};
        process.NumberOfThreads = threadCount;
        process.UniqueProcessId = pid;
        process.InheritedFromUniqueProcessId = parentPid;
        Append(&process, sizeof process);
        for (std::uint32_t i = 0; i < threadCount; ++i) {
            SystemThreadInformation thread{};
            thread.ThreadState = i == 0 ? firstThreadState : 2;
            thread.UserTime = 10;
            Append(&thread, sizeof thread);
        }
        if (last_) SetNext(*last_, static_cast<std::uint32_t>(offset - *last_));
        last_ = offset;
        return offset;
    }
    void SetNext(std::size_t recordOffset, std::uint32_t next) {
        std::memcpy(bytes_.data() + recordOffset + offsetof(SystemProcessInformation,
                                                            NextEntryOffset),
                    &next, sizeof next);
    }
    // Gives the record an image name of length bytes at offset from the block's start, which
    // Build turns into the address the system would write, or at an address of its own.
    void SetName(std::size_t recordOffset, std::uint64_t offset, std::uint16_t length) {
        names_.push_back({recordOffset, offset, length, false});
    }
    void SetNameAt(std::size_t recordOffset, const void* address, std::uint16_t length) {
        names_.push_back({recordOffset, reinterpret_cast<std::uintptr_t>(address), length, true});
    }
    void Append(const std::u16string& text) { Append(text.data(), 2 * text.size()); }
    void Truncate(std::size_t size) { bytes_.resize(size); }
    std::size_t size() const { return bytes_.size(); }
    ProcessSnapshot Build() const {
        zorvik::SnapshotBlock block = zorvik::AllocateSnapshotBlock(bytes_.size());
        if (!bytes_.empty()) std::memcpy(block.get(), bytes_.data(), bytes_.size());
        for (const Name& name : names_) {
            const std::uintptr_t base =
                name.absolute ? 0 : reinterpret_cast<std::uintptr_t>(block.get());
            platform::NtUnicodeString field{name.length, name.length,
                                            base + static_cast<std::uintptr_t>(name.offset)};
            std::memcpy(block.get() + name.record + offsetof(SystemProcessInformation, ImageName),
                        &field, sizeof field);
        }
        return ProcessSnapshot(std::move(block), bytes_.size());
    }

private:
    void Append(const void* data, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    struct Name {
        std::size_t record;
        std::uint64_t offset;
        std::uint16_t length;
        bool absolute;
    };
    std::vector<std::uint8_t> bytes_;
    std::optional<std::size_t> last_;
    std::vector<Name> names_;
};

TEST(ProcessSnapshotWalk, FollowsTheChainToTheLastRecord) {
    BlockBuilder block;
    block.Add(4, 0, 3);
    block.Add(600, 4, 1);
    block.Add(1200, 600, 2, 5);
    const ProcessSnapshot snapshot = block.Build();

    const std::optional<zorvik::ProcessRecord> record = snapshot.Find(1200);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->inheritedFromUniqueProcessId, 600u);
    ASSERT_TRUE(record->firstThread.has_value());
    EXPECT_EQ(record->firstThread->ThreadState, 5u);
    EXPECT_EQ(snapshot.Find(600)->numberOfThreads, 1u);
    EXPECT_FALSE(snapshot.Find(1201).has_value());
}

TEST(ProcessSnapshotWalk, ACorruptOffsetEndsTheWalkInsideTheBlock) {
    struct Case {
        const char* name;
        std::uint32_t next;  // the first record's NextEntryOffset
    };
    BlockBuilder probe;
    probe.Add(4, 0, 1);
    const std::uint32_t firstSize = static_cast<std::uint32_t>(probe.size());
    const Case cases[] = {
        {"far past the end", 0xFFFFFF00u},
        {"one byte past the end", 2 * firstSize + 1},
        {"leaves less than a record", 2 * firstSize - 8},
    };
    for (const Case& c : cases) {
        BlockBuilder block;
        const std::size_t first = block.Add(4, 0, 1);
        block.Add(1200, 4, 1);
        block.SetNext(first, c.next);
        const ProcessSnapshot snapshot = block.Build();
        EXPECT_TRUE(snapshot.Find(4).has_value()) << c.name;
        EXPECT_FALSE(snapshot.Find(1200).has_value()) << c.name;
        EXPECT_FALSE(snapshot.Find(0).has_value()) << c.name;  // zeroed bytes are no record
    }
}

TEST(ProcessSnapshotWalk, AThreadRecordCutByTheBlockEndIsNotRead) {
    BlockBuilder block;
    block.Add(4, 0, 1);
    const std::size_t last = block.Add(1200, 4, 2, 5);
    block.Truncate(last + sizeof(SystemProcessInformation) + sizeof(SystemThreadInformation) - 1);
    const ProcessSnapshot snapshot = block.Build();

    const std::optional<zorvik::ProcessRecord> record = snapshot.Find(1200);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->numberOfThreads, 2u);
    EXPECT_FALSE(record->firstThread.has_value());
}

TEST(ProcessSnapshotWalk, ARecordWithoutThreadsHasNoFirstThread) {
    BlockBuilder block;
    block.Add(1200, 4, 0);
    block.Add(1300, 4, 1);
    const ProcessSnapshot snapshot = block.Build();
    ASSERT_TRUE(snapshot.Find(1200).has_value());
    EXPECT_FALSE(snapshot.Find(1200)->firstThread.has_value());
    EXPECT_TRUE(snapshot.Find(1300)->firstThread.has_value());
}

TEST(ProcessSnapshotWalk, AnEmptyBlockHoldsNoRecord) {
    BlockBuilder block;
    EXPECT_FALSE(block.Build().Find(0).has_value());
    block.Add(1200, 4, 1);
    block.Truncate(sizeof(SystemProcessInformation) - 1);
    EXPECT_FALSE(block.Build().Find(1200).has_value());
}

TEST(ProcessSnapshotWalk, AWidePidIsNotTakenForItsLowHalf) {
    if constexpr (sizeof(std::uintptr_t) == 8) {
        BlockBuilder block;
        block.Add(static_cast<std::uintptr_t>(0x1000004B0ull), 4, 1);
        EXPECT_FALSE(block.Build().Find(0x4B0).has_value());
    } else {
        GTEST_SKIP() << "process ids fill the field in a 32-bit build";
    }
}

// The image name is read where the system put it, inside the block, and only as ASCII; any other
// name is none rather than a read beyond the block or a text that cannot be compared.
TEST(ProcessSnapshotWalk, AnImageNameIsReadOnlyFromInsideTheBlock) {
    struct Case {
        const char* what;
        std::u16string name;
        std::int64_t shift;  // where the field points, against where the name lies
        bool elsewhere;      // the field points at bytes outside the block instead
        std::optional<std::string> read;
    };
    const Case cases[] = {
        {"a file name", u"bot.exe", 0, false, "bot.exe"},
        {"a path", u"\\Device\\HarddiskVolume1\\Apps\\bot.exe", 0, false, "bot.exe"},
        {"beyond ASCII", u"b\u00f6t.exe", 0, false, std::nullopt},
        {"reaching past the end", u"bot.exe", 2, false, std::nullopt},
        {"outside the block", u"bot.exe", 0, true, std::nullopt},
    };
    // Bytes the test owns, outside any block: readable, so that a read there would be seen.
    static const std::u16string elsewhere = u"bot.exe";
    for (const Case& c : cases) {
        BlockBuilder block;
        const std::size_t record = block.Add(1200, 4, 1);
        const std::size_t at = block.size();
        block.Append(c.name);
        const auto length = static_cast<std::uint16_t>(2 * c.name.size());
        const std::int64_t offset = static_cast<std::int64_t>(at) + c.shift;
        if (c.elsewhere)
            block.SetNameAt(record, elsewhere.data(), length);
        else
            block.SetName(record, static_cast<std::uint64_t>(offset), length);
        const std::vector<zorvik::SnapshotProcess> processes = block.Build().Processes();
        ASSERT_EQ(processes.size(), 1u) << c.what;
        EXPECT_EQ(processes[0].pid, 1200u) << c.what;
        EXPECT_EQ(processes[0].imageName, c.read) << c.what;
    }
}

}  // namespace
