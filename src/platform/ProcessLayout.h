#pragma once
// The records of NtQuerySystemInformation(SystemProcessInformation), as the system lays them
// out for a process of this build's pointer size. Natural alignment gives the 32-bit layout
// (thread records at 0xB8, process id at 0x44) in the i686 build and the 64-bit layout
// (0x100, 0x50) in the x86_64 build and on Linux, where the simulated system builds the same block.
#include <cstddef>
#include <cstdint>

namespace platform {

struct NtUnicodeString {
    std::uint16_t Length;
    std::uint16_t MaximumLength;
    std::uintptr_t Buffer;
};

struct SystemProcessInformation {
    std::uint32_t NextEntryOffset;
    std::uint32_t NumberOfThreads;
    std::int64_t WorkingSetPrivateSize;
    std::uint32_t HardFaultCount;
    std::uint32_t NumberOfThreadsHighWatermark;
    std::uint64_t CycleTime;
    std::int64_t CreateTime;
    std::int64_t UserTime;
    std::int64_t KernelTime;
    NtUnicodeString ImageName;
    std::int32_t BasePriority;
    std::uintptr_t UniqueProcessId;
    std::uintptr_t InheritedFromUniqueProcessId;
    std::uint32_t HandleCount;
    std::uint32_t SessionId;
    std::uintptr_t UniqueProcessKey;
    std::uintptr_t PeakVirtualSize;
    std::uintptr_t VirtualSize;
    std::uint32_t PageFaultCount;
    std::uintptr_t PeakWorkingSetSize;
    std::uintptr_t WorkingSetSize;
    std::uintptr_t QuotaPeakPagedPoolUsage;
    std::uintptr_t QuotaPagedPoolUsage;
    std::uintptr_t QuotaPeakNonPagedPoolUsage;
    std::uintptr_t QuotaNonPagedPoolUsage;
    std::uintptr_t PagefileUsage;
    std::uintptr_t PeakPagefileUsage;
    std::uintptr_t PrivatePageCount;
    std::int64_t ReadOperationCount;
    std::int64_t WriteOperationCount;
    std::int64_t OtherOperationCount;
    std::int64_t ReadTransferCount;
    std::int64_t WriteTransferCount;
    std::int64_t OtherTransferCount;
};

struct SystemThreadInformation {
    std::int64_t KernelTime;
    std::int64_t UserTime;
    std::int64_t CreateTime;
    std::uint32_t WaitTime;
    std::uintptr_t StartAddress;
    std::uintptr_t ClientIdProcess;
    std::uintptr_t ClientIdThread;
    std::int32_t Priority;
    std::int32_t BasePriority;
    std::uint32_t ContextSwitches;
    std::uint32_t ThreadState;
    std::uint32_t WaitReason;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(SystemProcessInformation) == 0xB8, "32-bit process record");
static_assert(offsetof(SystemProcessInformation, UniqueProcessId) == 0x44, "32-bit pid offset");
static_assert(offsetof(SystemProcessInformation, InheritedFromUniqueProcessId) == 0x48, "parent");
static_assert(sizeof(SystemThreadInformation) == 0x40, "32-bit thread record");
static_assert(offsetof(SystemThreadInformation, ThreadState) == 52, "thread state");
static_assert(offsetof(SystemThreadInformation, WaitReason) == 56, "wait reason");
#else
static_assert(sizeof(SystemProcessInformation) == 0x100, "64-bit process record");
static_assert(offsetof(SystemProcessInformation, UniqueProcessId) == 0x50, "64-bit pid offset");
static_assert(offsetof(SystemProcessInformation, InheritedFromUniqueProcessId) == 0x58, "parent");
static_assert(sizeof(SystemThreadInformation) == 0x50, "64-bit thread record");
static_assert(offsetof(SystemThreadInformation, ThreadState) == 68, "thread state");
static_assert(offsetof(SystemThreadInformation, WaitReason) == 72, "wait reason");
#endif
static_assert(offsetof(SystemThreadInformation, UserTime) == 8, "user time");

constexpr std::uint32_t kSystemProcessInformationClass = 5;
constexpr std::int32_t kStatusSuccess = 0;
constexpr std::int32_t kStatusInfoLengthMismatch = static_cast<std::int32_t>(0xC0000004u);
constexpr std::uint32_t kThreadStateWaiting = 5;
constexpr std::uint32_t kWaitReasonSuspended = 5;

// PE headers: the DOS header is 64 bytes with e_lfanew at 60; the NT headers block the program
// compares is the 248-byte IMAGE_NT_HEADERS32 (the three compared fields sit at the same offsets
// in IMAGE_NT_HEADERS64, whose first 248 bytes are read the same way).
constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kDosLfanewOffset = 60;
constexpr std::uint16_t kDosMagic = 0x5A4D;  // "MZ"
constexpr std::size_t kNtHeadersSize = 248;
constexpr std::size_t kNtNumberOfSectionsOffset = 6;
constexpr std::size_t kNtAddressOfEntryPointOffset = 40;
constexpr std::size_t kNtSizeOfImageOffset = 80;

}  // namespace platform
