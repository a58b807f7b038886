// The simulated processes: the snapshot block in the system's layout, access rights, module
// queries, memory, termination and the TCP table.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ProcessLayout.h"
#include "platform/sim/system/SimSystem.h"

namespace {

using platform::AddressFamily;
using platform::SystemProcessInformation;
using platform::SystemThreadInformation;
using platform::TcpRow;
using platform::sim::SimProcess;
using platform::sim::SimSystem;
using platform::sim::SimThread;

constexpr std::uint32_t kQueryAndRead = platform::kProcessQueryInformation | platform::kProcessVmRead;

SimProcess Process(std::uint32_t pid, std::uint32_t parent, std::string path,
                   std::vector<SimThread> threads = {SimThread{}}) {
    SimProcess p;
    p.pid = pid;
    p.parentPid = parent;
    p.imagePath = std::move(path);
    p.threads = std::move(threads);
    return p;
}

template <typename T>
T At(const std::vector<std::uint64_t>& block, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(block.data()) + offset, sizeof value);
    return value;
}

TEST(SimSnapshotTest, RecordsChainWithTheirThreadsAndNames) {
    SimSystem sys;
    sys.procs().AddProcess(Process(4, 0, ""));
    sys.procs().AddProcess(Process(1200, 4, "C:\\Program Files\\Bot\\bot.exe",
                                   {SimThread{5, 5, 0}, SimThread{2, 0, 300}}));
    std::vector<std::uint64_t> block(0x10000 / 8, 0xAAAAAAAAAAAAAAAAull);
    ASSERT_EQ(sys.processes().QuerySystemInformation(platform::kSystemProcessInformationClass, block.data(), 0x10000),
              platform::kStatusSuccess);

    auto first = At<SystemProcessInformation>(block, 0);
    EXPECT_EQ(first.UniqueProcessId, 4u);
    EXPECT_EQ(first.NumberOfThreads, 1u);
    EXPECT_EQ(first.ImageName.Length, 0u);
    // A record is followed by its thread records (and the image name when it has one).
    ASSERT_EQ(first.NextEntryOffset, sizeof(SystemProcessInformation) + sizeof(SystemThreadInformation));

    const std::size_t second = first.NextEntryOffset;
    auto bot = At<SystemProcessInformation>(block, second);
    EXPECT_EQ(bot.NextEntryOffset, 0u) << "the last record";
    EXPECT_EQ(bot.NumberOfThreads, 2u);
    EXPECT_EQ(bot.UniqueProcessId, 1200u);
    EXPECT_EQ(bot.InheritedFromUniqueProcessId, 4u);
    EXPECT_EQ(At<std::uint32_t>(block, second + offsetof(SystemProcessInformation, UniqueProcessId)), 1200u);

    const std::size_t threads = second + sizeof(SystemProcessInformation);
    auto t0 = At<SystemThreadInformation>(block, threads);
    auto t1 = At<SystemThreadInformation>(block, threads + sizeof(SystemThreadInformation));
    EXPECT_EQ(t0.ThreadState, 5u);
    EXPECT_EQ(t0.WaitReason, 5u);
    EXPECT_EQ(t0.UserTime, 0);
    EXPECT_EQ(t1.ThreadState, 2u);
    EXPECT_EQ(t1.UserTime, 300);
    EXPECT_EQ(t0.ClientIdProcess, 1200u);
    EXPECT_EQ(t1.ClientIdProcess, 1200u);
    EXPECT_NE(t0.ClientIdThread, t1.ClientIdThread);
    EXPECT_NE(t0.ClientIdThread, 0u);

    // The name "bot.exe" in UTF-16 inside the block, where the record points.
    EXPECT_EQ(bot.ImageName.Length, 14u);
    const auto* base = reinterpret_cast<const unsigned char*>(block.data());
    const std::size_t nameAt = threads + 2 * sizeof(SystemThreadInformation);
    EXPECT_EQ(bot.ImageName.Buffer, reinterpret_cast<std::uintptr_t>(base + nameAt));
    std::uint16_t firstChar;
    std::memcpy(&firstChar, base + nameAt, 2);
    EXPECT_EQ(firstChar, u'b');
}

TEST(SimSnapshotTest, TooSmallABufferIsALengthMismatchAndEverySizeIsRecorded) {
    SimSystem sys;
    for (std::uint32_t pid = 100; pid < 400; ++pid)
        sys.procs().AddProcess(Process(pid, 4, "C:\\x\\p.exe", std::vector<SimThread>(2)));
    std::vector<std::uint64_t> block(0x30000 / 8);
    auto& procs = sys.processes();
    EXPECT_EQ(procs.QuerySystemInformation(5, block.data(), 0x10000), platform::kStatusInfoLengthMismatch);
    EXPECT_EQ(procs.QuerySystemInformation(5, block.data(), 0x20000), platform::kStatusSuccess);
    EXPECT_LT(procs.QuerySystemInformation(3, block.data(), 0x20000), 0) << "another class";
    EXPECT_EQ(sys.procs().QuerySizes(), (std::vector<std::uint32_t>{0x10000, 0x20000, 0x20000}));

    sys.procs().SetSystemInformationQuery(false);
    EXPECT_FALSE(procs.HasSystemInformationQuery());
    EXPECT_LT(procs.QuerySystemInformation(5, block.data(), 0x20000), 0);
}

TEST(SimProcessesTest, OpenGrantsWhatTheProcessAllows) {
    SimSystem sys;
    SimProcess service = Process(800, 4, "C:\\WINDOWS\\system32\\svc.exe");
    service.openable = false;
    service.terminable = false;
    SimProcess protectedOne = Process(900, 4, "C:\\p.exe");
    protectedOne.openable = protectedOne.openableLimited = false;
    sys.procs().AddProcess(service);
    sys.procs().AddProcess(protectedOne);
    sys.procs().AddProcess(Process(1000, 4, "C:\\app.exe"));
    auto& procs = sys.processes();

    struct Case {
        std::uint32_t pid;
        std::uint32_t access;
        bool opens;
    };
    const Case cases[] = {
        {800, kQueryAndRead, false},
        {800, platform::kProcessQueryLimitedInformation, true},
        {800, platform::kProcessTerminate, false},
        {800, 0x1F0FFF, false},
        {900, platform::kProcessQueryLimitedInformation, false},
        {1000, 0x1F0FFF, true},
        {1000, platform::kProcessTerminate, true},
        {0, platform::kProcessQueryLimitedInformation, false},
        {4321, kQueryAndRead, false},
    };
    std::vector<std::uint32_t> asked;
    for (const Case& c : cases) {
        platform::ProcessHandle h = platform::OpenProcess(procs, c.pid, c.access);
        EXPECT_EQ(static_cast<bool>(h), c.opens) << c.pid << " " << std::hex << c.access;
        asked.push_back(c.access);
    }
    EXPECT_EQ(sys.procs().OpenAccesses(), asked);
    EXPECT_EQ(sys.procs().OpenHandleCount(), 0);
}

TEST(SimProcessesTest, ModuleQueriesNeedTheirRights) {
    SimSystem sys;
    SimProcess hidden = Process(500, 4, "C:\\Tools\\hidden.exe");
    hidden.fileNameReadable = false;
    SimProcess noModules = Process(600, 4, "C:\\Tools\\nomod.exe");
    noModules.modulesReadable = false;
    sys.procs().AddProcess(hidden);
    sys.procs().AddProcess(noModules);
    sys.procs().AddProcess(Process(700, 4, "C:\\Tools\\plain.exe"));
    auto& procs = sys.processes();

    platform::ProcessHandle plain = platform::OpenProcess(procs, 700, kQueryAndRead);
    EXPECT_EQ(procs.FirstModule(plain.get()), 0x400000u);
    EXPECT_EQ(procs.ModuleFileName(plain.get(), 0x400000), "C:\\Tools\\plain.exe");
    EXPECT_EQ(procs.FullImageName(plain.get()), "C:\\Tools\\plain.exe");
    EXPECT_EQ(procs.FirstModuleBase(700), 0x400000u);

    platform::ProcessHandle limited = platform::OpenProcess(procs, 700, platform::kProcessQueryLimitedInformation);
    EXPECT_EQ(procs.FirstModule(limited.get()), 0u) << "the module list needs query and read rights";
    EXPECT_EQ(procs.FullImageName(limited.get()), "C:\\Tools\\plain.exe");

    platform::ProcessHandle h = platform::OpenProcess(procs, 500, kQueryAndRead);
    EXPECT_EQ(procs.FirstModule(h.get()), 0x400000u);
    EXPECT_FALSE(procs.ModuleFileName(h.get(), 0x400000).has_value());

    platform::ProcessHandle n = platform::OpenProcess(procs, 600, kQueryAndRead);
    EXPECT_EQ(procs.FirstModule(n.get()), 0u);
    EXPECT_FALSE(procs.FirstModuleBase(600).has_value());
    EXPECT_EQ(sys.procs().OpenHandleCount(), 4);
}

TEST(SimProcessesTest, WithoutLimitedQueriesOnlyTheFullRightsWork) {
    SimSystem sys;
    sys.procs().AddProcess(Process(700, 4, "C:\\Tools\\plain.exe"));
    sys.procs().SetLimitedQueries(false);
    auto& procs = sys.processes();
    EXPECT_FALSE(platform::OpenProcess(procs, 700, platform::kProcessQueryLimitedInformation));
    platform::ProcessHandle full = platform::OpenProcess(procs, 700, kQueryAndRead);
    ASSERT_TRUE(full);
    EXPECT_FALSE(procs.FullImageName(full.get()).has_value());
    EXPECT_EQ(procs.ModuleFileName(full.get(), procs.FirstModule(full.get())), "C:\\Tools\\plain.exe");
}

TEST(SimProcessesTest, MemoryIsTheScriptedImageOrElseTheProgramFile) {
    SimSystem sys;
    sys.fs().AddFile("C:\\Tools\\disk.exe", "MZ-from-disk");
    SimProcess fromDisk = Process(10, 4, "C:\\Tools\\disk.exe");
    SimProcess scripted = Process(11, 4, "C:\\Tools\\disk.exe");
    scripted.imageMemory = std::string("MZ-in-memory");
    scripted.imageBase = 0x10000000;
    sys.procs().AddProcess(fromDisk);
    sys.procs().AddProcess(scripted);
    auto& procs = sys.processes();

    char buffer[12];
    platform::ProcessHandle a = platform::OpenProcess(procs, 10, kQueryAndRead);
    ASSERT_TRUE(procs.ReadMemory(a.get(), 0x400000, buffer, 12));
    EXPECT_EQ(std::string(buffer, 12), "MZ-from-disk");
    platform::ProcessHandle b = platform::OpenProcess(procs, 11, kQueryAndRead);
    ASSERT_TRUE(procs.ReadMemory(b.get(), 0x10000003, buffer, 9));
    EXPECT_EQ(std::string(buffer, 9), "in-memory");
    EXPECT_FALSE(procs.ReadMemory(b.get(), 0x10000004, buffer, 9)) << "one byte past the image";
    EXPECT_FALSE(procs.ReadMemory(b.get(), 0x0FFFFFFF, buffer, 2)) << "before the image";
    platform::ProcessHandle noRead = platform::OpenProcess(procs, 11, platform::kProcessQueryInformation);
    EXPECT_FALSE(procs.ReadMemory(noRead.get(), 0x10000000, buffer, 2));
}

TEST(SimProcessesTest, TerminateEndsTheProcessAndItsSockets) {
    SimSystem sys;
    sys.procs().AddProcess(Process(1200, 4, "C:\\bot.exe"));
    sys.procs().AddProcess(Process(1300, 4, "C:\\other.exe"));
    sys.procs().AddSocket(1200, platform::kTcpStateListen, 6667);
    sys.procs().AddSocket(1300, platform::kTcpStateEstab, 443);
    auto& procs = sys.processes();

    platform::ProcessHandle query = platform::OpenProcess(procs, 1200, kQueryAndRead);
    EXPECT_FALSE(procs.Terminate(query.get(), 1)) << "the handle lacks the terminate right";
    EXPECT_TRUE(sys.procs().IsRunning(1200));

    platform::ProcessHandle killer = platform::OpenProcess(procs, 1200, platform::kProcessTerminate);
    EXPECT_TRUE(procs.Terminate(killer.get(), 1));
    EXPECT_FALSE(sys.procs().IsRunning(1200));
    EXPECT_FALSE(procs.Terminate(killer.get(), 1)) << "it has already ended";
    EXPECT_EQ(procs.FirstModule(query.get()), 0u);

    auto table = procs.LoadTcpTable();
    auto rows = table->Rows(AddressFamily::V4);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].owningPid, 1300u);
}

TEST(SimTcpTest, WhichTablesTheLibraryOffers) {
    SimSystem sys;
    sys.procs().AddSocket(1, platform::kTcpStateListen);
    TcpRow v6;
    v6.family = AddressFamily::V6;
    v6.state = platform::kTcpStateListen;
    sys.procs().AddTcpRow(v6);
    {
        auto both = sys.processes().LoadTcpTable();
        ASSERT_TRUE(both);
        EXPECT_EQ(sys.procs().LiveTcpTableCount(), 1);
        EXPECT_TRUE(both->Supports(AddressFamily::V6));
        EXPECT_EQ(both->Rows(AddressFamily::V4)->size(), 1u);
        EXPECT_EQ(both->Rows(AddressFamily::V6)->size(), 1u);
    }
    EXPECT_EQ(sys.procs().LiveTcpTableCount(), 0);

    sys.procs().SetTcpFunctions(false, true);
    auto legacy = sys.processes().LoadTcpTable();
    ASSERT_TRUE(legacy);
    EXPECT_TRUE(legacy->Supports(AddressFamily::V4));
    EXPECT_FALSE(legacy->Supports(AddressFamily::V6));
    EXPECT_FALSE(legacy->Rows(AddressFamily::V6).has_value());
    EXPECT_EQ(legacy->Rows(AddressFamily::V4)->size(), 1u);

    sys.procs().SetTcpFunctions(false, false);
    EXPECT_FALSE(sys.processes().LoadTcpTable());
}

TEST(SimTcpTest, RowsComeSortedByLocalThenRemoteEndpoint) {
    SimSystem sys;
    auto row = [](std::uint8_t local, std::uint16_t localPort, std::uint8_t remote, std::uint16_t remotePort,
                  std::uint32_t pid) {
        TcpRow r;
        r.state = platform::kTcpStateEstab;
        r.localAddress = {10, 0, 0, local};
        r.localPort = localPort;
        r.remoteAddress = {192, 168, 0, remote};
        r.remotePort = remotePort;
        r.owningPid = pid;
        return r;
    };
    // Scripted out of order; pids 5 and 6 are the same endpoints and keep their order.
    for (const TcpRow& r : {row(2, 80, 1, 5000, 1), row(1, 443, 9, 1, 2), row(1, 80, 9, 2, 3), row(1, 80, 3, 9, 4),
                            row(1, 256, 1, 1, 5), row(1, 256, 1, 1, 6), row(1, 80, 3, 8, 7)})
        sys.procs().AddTcpRow(r);
    auto rows = sys.processes().LoadTcpTable()->Rows(AddressFamily::V4);
    ASSERT_TRUE(rows.has_value());
    std::vector<std::uint32_t> order;
    for (const auto& r : *rows) order.push_back(r.owningPid);
    EXPECT_EQ(order, (std::vector<std::uint32_t>{7, 4, 3, 5, 6, 2, 1}));
}

TEST(SimSocketsTest, CountsStartsAndEnds) {
    SimSystem sys;
    EXPECT_FALSE(sys.wsa().Started());
    EXPECT_TRUE(sys.sockets().Startup());
    EXPECT_TRUE(sys.wsa().Started());
    sys.sockets().Cleanup();
    EXPECT_FALSE(sys.wsa().Started());
    EXPECT_EQ(sys.wsa().StartupCount(), 1);
    EXPECT_EQ(sys.wsa().CleanupCount(), 1);
}

}  // namespace
