// Process services: the TCP table, the process and thread records, module paths and load
// addresses, the loaded modules, process memory and termination, checked against this test
// program itself and a child copy of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "ContractEnv.h"
#include "WineQuirks.h"
#include "platform/ProcessLayout.h"

namespace {

using platform::AddressFamily;
using platform::Processes;
using platform::SystemProcessInformation;
using platform::SystemThreadInformation;
using platform::TcpRow;

constexpr std::uint32_t kQueryAndRead = platform::kProcessQueryInformation | platform::kProcessVmRead;

Processes& Procs() { return contract::env().System().processes(); }

bool SamePath(std::string a, std::string b) {
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    return lower(std::move(a)) == lower(std::move(b));
}

template <typename T>
T ReadField(const std::string& bytes, std::size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The process records as the system gives them, asked for with growing buffers.
class ProcessRecords {
public:
    bool Take() {
        for (std::uint32_t size = 0x10000; size <= 0x4000000; size += 0x10000) {
            block_.assign(size / sizeof(std::uint64_t), 0);
            std::int32_t status =
                Procs().QuerySystemInformation(platform::kSystemProcessInformationClass,
                                               block_.data(), size);
            if (status == platform::kStatusSuccess) return true;
            if (status != platform::kStatusInfoLengthMismatch) return false;
        }
        return false;
    }

    // Walks the chain, checking that every record and its thread records lie inside the block.
    template <typename Visit>
    void Walk(Visit visit) const {
        const auto* base = reinterpret_cast<const unsigned char*>(block_.data());
        std::size_t size = block_.size() * sizeof(std::uint64_t);
        for (std::size_t offset = 0;;) {
            ASSERT_LE(offset + sizeof(SystemProcessInformation), size);
            SystemProcessInformation process;
            std::memcpy(&process, base + offset, sizeof process);
            std::size_t threadsStart = offset + sizeof process;
            ASSERT_LE(threadsStart + process.NumberOfThreads * sizeof(SystemThreadInformation), size);
            std::vector<SystemThreadInformation> threads(process.NumberOfThreads);
            if (!threads.empty())
                std::memcpy(threads.data(), base + threadsStart,
                            threads.size() * sizeof(SystemThreadInformation));
            visit(process, threads);
            if (process.NextEntryOffset == 0) break;
            offset += process.NextEntryOffset;
        }
    }

private:
    std::vector<std::uint64_t> block_;
};

TEST(ProcessesContract, TcpTableNamesThisProcessAsOwnerOfItsSockets) {
    auto& env = contract::env();
    auto table = Procs().LoadTcpTable();
    ASSERT_TRUE(table);
    ASSERT_TRUE(table->Supports(AddressFamily::V4));
    std::uint16_t port = env.OpenOwnSockets();
    ASSERT_NE(port, 0);
    auto rows = table->Rows(AddressFamily::V4);
    env.CloseOwnSockets();
    ASSERT_TRUE(rows.has_value());

    const TcpRow* listener = nullptr;
    const TcpRow* serverSide = nullptr;
    const TcpRow* clientSide = nullptr;
    for (const auto& row : *rows) {
        EXPECT_EQ(row.family, AddressFamily::V4);
        if (row.state == platform::kTcpStateListen && row.localPort == port) listener = &row;
        if (row.state == platform::kTcpStateEstab && row.localPort == port) serverSide = &row;
        if (row.state == platform::kTcpStateEstab && row.remotePort == port) clientSide = &row;
    }
    ASSERT_NE(listener, nullptr) << "no LISTEN row on port " << port;
    ASSERT_NE(serverSide, nullptr) << "no ESTAB row with local port " << port;
    ASSERT_NE(clientSide, nullptr) << "no ESTAB row with remote port " << port;
    EXPECT_EQ(listener->owningPid, env.OwnPid());
    EXPECT_EQ(clientSide->owningPid, env.OwnPid());
    // The two ends of one connection mirror each other.
    EXPECT_EQ(serverSide->remotePort, clientSide->localPort);
    const std::array<std::uint8_t, 4> loopback{127, 0, 0, 1};
    EXPECT_TRUE(std::equal(loopback.begin(), loopback.end(), clientSide->remoteAddress.begin()));
    EXPECT_TRUE(std::equal(loopback.begin(), loopback.end(), serverSide->localAddress.begin()));
    // Wine accepts connections inside its server process and never names the owner of an
    // accepted socket, whatever I/O the program does on it.
    if (contract::RunningUnderWine() && serverSide->owningPid == 0)
        GTEST_SKIP() << "Wine does not name the owner of an accepted socket";
    EXPECT_EQ(serverSide->owningPid, env.OwnPid());
}

TEST(ProcessesContract, Ipv6TableHoldsOnlyIpv6Rows) {
    auto table = Procs().LoadTcpTable();
    ASSERT_TRUE(table);
    if (!table->Supports(AddressFamily::V6)) GTEST_SKIP() << "no IPv6 table on this system";
    auto rows = table->Rows(AddressFamily::V6);
    ASSERT_TRUE(rows.has_value());
    for (const auto& row : *rows) EXPECT_EQ(row.family, AddressFamily::V6);
}

TEST(ProcessesContract, ProcessRecordsNeedRoomAndHoldThisProcess) {
    auto& env = contract::env();
    ASSERT_TRUE(Procs().HasSystemInformationQuery());
    std::uint64_t tiny[2] = {};
    EXPECT_EQ(Procs().QuerySystemInformation(platform::kSystemProcessInformationClass, tiny,
                                             sizeof tiny),
              platform::kStatusInfoLengthMismatch);

    ProcessRecords records;
    ASSERT_TRUE(records.Take());
    int ownRecords = 0;
    bool ownThreadRunning = false;
    bool threadsNameTheirProcess = true;
    std::size_t processCount = 0;
    records.Walk([&](const SystemProcessInformation& process,
                     const std::vector<SystemThreadInformation>& threads) {
        ++processCount;
        if (process.UniqueProcessId != env.OwnPid()) return;
        ++ownRecords;
        EXPECT_GE(process.NumberOfThreads, 1u);
        for (const auto& thread : threads) {
            if (thread.ClientIdProcess != env.OwnPid()) threadsNameTheirProcess = false;
            if (thread.ThreadState == 2) ownThreadRunning = true;  // the thread asking runs
        }
    });
    EXPECT_GT(processCount, 1u);
    EXPECT_EQ(ownRecords, 1);
    EXPECT_TRUE(threadsNameTheirProcess);
    if (contract::RunningUnderWine()) GTEST_SKIP() << "Wine reports no thread states";
    EXPECT_TRUE(ownThreadRunning);
}

TEST(ProcessesContract, FirstModuleOfThisProcessIsItsExecutable) {
    auto& env = contract::env();
    auto process = platform::OpenProcess(Procs(), env.OwnPid(), kQueryAndRead);
    ASSERT_TRUE(process);
    std::uintptr_t module = Procs().FirstModule(process.get());
    ASSERT_NE(module, 0u);
    auto path = Procs().ModuleFileName(process.get(), module);
    ASSERT_TRUE(path.has_value());
    EXPECT_TRUE(SamePath(*path, env.OwnImagePath())) << *path << " vs " << env.OwnImagePath();
    if (auto image = Procs().FullImageName(process.get())) {
        EXPECT_TRUE(SamePath(*image, env.OwnImagePath())) << *image;
    }
}

TEST(ProcessesContract, ImageInMemoryMatchesItsFileHeaders) {
    auto& env = contract::env();
    auto base = Procs().FirstModuleBase(env.OwnPid());
    ASSERT_TRUE(base.has_value());
    auto process = platform::OpenProcess(Procs(), env.OwnPid(), kQueryAndRead);
    ASSERT_TRUE(process);

    std::string dos(platform::kDosHeaderSize, '\0');
    ASSERT_TRUE(Procs().ReadMemory(process.get(), *base, dos.data(), dos.size()));
    EXPECT_EQ(dos.substr(0, 2), "MZ");
    auto lfanew = ReadField<std::uint32_t>(dos, platform::kDosLfanewOffset);
    ASSERT_LT(lfanew, 0x10000u);
    std::string inMemory(platform::kNtHeadersSize, '\0');
    ASSERT_TRUE(Procs().ReadMemory(process.get(), *base + lfanew, inMemory.data(), inMemory.size()));
    EXPECT_EQ(inMemory.substr(0, 4), std::string("PE\0\0", 4));

    auto onDisk = env.System().files().ReadAt(env.OwnImagePath(), lfanew, platform::kNtHeadersSize);
    ASSERT_TRUE(onDisk.has_value());
    ASSERT_EQ(onDisk->size(), platform::kNtHeadersSize);
    // An untouched process: the fields the hijack test compares are the same in both.
    EXPECT_EQ(ReadField<std::uint16_t>(inMemory, platform::kNtNumberOfSectionsOffset),
              ReadField<std::uint16_t>(*onDisk, platform::kNtNumberOfSectionsOffset));
    EXPECT_EQ(ReadField<std::uint32_t>(inMemory, platform::kNtAddressOfEntryPointOffset),
              ReadField<std::uint32_t>(*onDisk, platform::kNtAddressOfEntryPointOffset));
    EXPECT_EQ(ReadField<std::uint32_t>(inMemory, platform::kNtSizeOfImageOffset),
              ReadField<std::uint32_t>(*onDisk, platform::kNtSizeOfImageOffset));
}

TEST(ProcessesContract, MemoryReadOfUnmappedAddressFails) {
    auto process = platform::OpenProcess(Procs(), contract::env().OwnPid(), kQueryAndRead);
    ASSERT_TRUE(process);
    char buffer[16] = {};
    EXPECT_FALSE(Procs().ReadMemory(process.get(), 0, buffer, sizeof buffer));
}

TEST(ProcessesContract, ChildCanBeReadAndTerminated) {
    auto& env = contract::env();
    std::uint32_t child = env.StartChild(env.OwnImagePath());
    ASSERT_NE(child, 0u);
    EXPECT_NE(child, env.OwnPid());
    {
        auto reader = platform::OpenProcess(Procs(), child, kQueryAndRead);
        ASSERT_TRUE(reader);
        auto path = Procs().ModuleFileName(reader.get(), Procs().FirstModule(reader.get()));
        ASSERT_TRUE(path.has_value());
        EXPECT_TRUE(SamePath(*path, env.OwnImagePath())) << *path;
        auto base = Procs().FirstModuleBase(child);
        ASSERT_TRUE(base.has_value());
        char magic[2] = {};
        ASSERT_TRUE(Procs().ReadMemory(reader.get(), *base, magic, sizeof magic));
        EXPECT_EQ(std::string(magic, 2), "MZ");

        auto killer = platform::OpenProcess(Procs(), child, platform::kProcessTerminate);
        ASSERT_TRUE(killer);
        EXPECT_TRUE(Procs().Terminate(killer.get(), 1));
        // Once the child is gone its memory can no longer be read.
        bool gone = false;
        for (int i = 0; i < 100 && !gone; ++i) {
            gone = !Procs().ReadMemory(reader.get(), *base, magic, sizeof magic);
            if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        EXPECT_TRUE(gone);
    }
    env.StopChild(child);
}

TEST(ProcessesContract, LoadedModulesOfThisProcessAndAChildStartWithTheProgram) {
    auto& env = contract::env();
    const std::uint32_t child = env.StartChild(env.OwnImagePath());
    ASSERT_NE(child, 0u);
    for (const std::uint32_t pid : {env.OwnPid(), child}) {
        SCOPED_TRACE(pid);
        const auto modules = Procs().LoadedModules(pid);
        ASSERT_TRUE(modules.has_value());
        ASSERT_FALSE(modules->empty());
        const std::string own((*modules)[0]);
        EXPECT_TRUE(SamePath(own, env.OwnImagePath())) << own;
        bool kernel32 = false;
        for (std::size_t i = 1; i < modules->size(); ++i) {
            const std::string m((*modules)[i]);
            const std::string name = "\\kernel32.dll";
            kernel32 = kernel32 ||
                       (m.size() > name.size() && SamePath(m.substr(m.size() - name.size()), name));
        }
        EXPECT_TRUE(kernel32);
    }
    env.StopChild(child);
}

TEST(ProcessesContract, ProcessIdZeroAndUnknownIdsDoNotOpen) {
    EXPECT_EQ(Procs().Open(0, kQueryAndRead), 0u);
    EXPECT_EQ(Procs().Open(0x7FFFFFF0u, kQueryAndRead), 0u);
    EXPECT_FALSE(Procs().FirstModuleBase(0x7FFFFFF0u).has_value());
    EXPECT_FALSE(Procs().LoadedModules(0).has_value());
    EXPECT_FALSE(Procs().LoadedModules(0x7FFFFFF0u).has_value());
}

}  // namespace
