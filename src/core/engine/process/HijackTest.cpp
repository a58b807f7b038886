#include "core/engine/process/HijackTest.h"

#include <algorithm>
#include <optional>

#include "core/base/untFunc.h"

namespace zorvik {

namespace {

// PE fields are little-endian whatever the host.
std::uint32_t LittleEndianAt(const std::uint8_t* bytes, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

std::uint16_t Read16(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(LittleEndianAt(bytes + offset, 2));
}

std::uint32_t Read32(const std::uint8_t* bytes, std::size_t offset) {
    return LittleEndianAt(bytes + offset, 4);
}

// e_lfanew of a DOS header, when it is a plausible place for the NT headers.
std::optional<std::uint32_t> NtHeadersOffset(const std::uint8_t* dosHeader) {
    const auto lfanew = static_cast<std::int32_t>(Read32(dosHeader, platform::kDosLfanewOffset));
    if (lfanew < 0 || lfanew > kMaxNtHeadersOffset) return std::nullopt;
    return static_cast<std::uint32_t>(lfanew);
}

// NumberOfSections, AddressOfEntryPoint and SizeOfImage lie at 6, 40 and 80 both in
// IMAGE_NT_HEADERS32 and in IMAGE_NT_HEADERS64: the optional header starts at 24 in both (the
// 4-byte signature and the 20-byte file header), and PE32+ only drops BaseOfData (at 24 in the
// optional header) to widen ImageBase to 8 bytes, so everything from SectionAlignment (32) to
// SizeOfImage (56) keeps its place. The 248 bytes read therefore serve 64-bit images as well.
bool AllThreeFieldsDiffer(const NtHeadersBlock& memory, const NtHeadersBlock& file) {
    return Read16(memory.data(), platform::kNtNumberOfSectionsOffset) !=
               Read16(file.data(), platform::kNtNumberOfSectionsOffset) &&
           Read32(memory.data(), platform::kNtAddressOfEntryPointOffset) !=
               Read32(file.data(), platform::kNtAddressOfEntryPointOffset) &&
           Read32(memory.data(), platform::kNtSizeOfImageOffset) !=
               Read32(file.data(), platform::kNtSizeOfImageOffset);
}

// Sign 1: the first thread is waiting, suspended, has never run in user mode, and it is not
// the only thread of the process.
bool FirstThreadSuspendedAtStart(const ProcessRecord& record) {
    if (!record.firstThread || record.numberOfThreads <= 1) return false;
    const platform::SystemThreadInformation& thread = *record.firstThread;
    return thread.ThreadState == platform::kThreadStateWaiting &&
           thread.WaitReason == platform::kWaitReasonSuspended && thread.UserTime == 0;
}

}  // namespace

bool ReadImageHeaders(platform::System& sys, const std::string& path, NtHeadersBlock& headers) {
    platform::Files& files = sys.files();
    const std::optional<std::string> dosHeader = files.ReadAt(path, 0, platform::kDosHeaderSize);
    if (!dosHeader || dosHeader->size() < platform::kDosHeaderSize) return false;
    const std::optional<std::uint32_t> ntOffset =
        NtHeadersOffset(reinterpret_cast<const std::uint8_t*>(dosHeader->data()));
    if (!ntOffset) return false;
    const std::optional<std::string> ntHeaders =
        files.ReadAt(path, *ntOffset, platform::kNtHeadersSize);
    // A short read would leave part of the block unset: such a file gives no headers at all.
    if (!ntHeaders || ntHeaders->size() < platform::kNtHeadersSize) return false;
    std::copy_n(reinterpret_cast<const std::uint8_t*>(ntHeaders->data()), headers.size(),
                headers.begin());
    return true;
}

bool ImageHeadersDiffer(platform::System& sys, std::uint32_t processId, const std::string& path) {
    platform::Processes& procs = sys.processes();
    // Reading memory needs no more than this; all access would be refused needlessly more often.
    const platform::ProcessHandle process = platform::OpenProcess(
        procs, processId, platform::kProcessQueryInformation | platform::kProcessVmRead);
    if (!process) return false;
    const std::optional<std::uintptr_t> imageBase = procs.FirstModuleBase(processId);
    if (!imageBase) return false;

    std::array<std::uint8_t, platform::kDosHeaderSize> dosHeader{};
    if (!procs.ReadMemory(process.get(), *imageBase, dosHeader.data(), dosHeader.size()))
        return false;
    if (Read16(dosHeader.data(), 0) != platform::kDosMagic) return false;
    const std::optional<std::uint32_t> ntOffset = NtHeadersOffset(dosHeader.data());
    if (!ntOffset) return false;

    NtHeadersBlock memoryHeaders{};
    if (!procs.ReadMemory(process.get(), *imageBase + *ntOffset, memoryHeaders.data(),
                          memoryHeaders.size()))
        return false;

    NtHeadersBlock fileHeaders{};
    if (!ReadImageHeaders(sys, path, fileHeaders)) return false;
    return AllThreeFieldsDiffer(memoryHeaders, fileHeaders);
}

bool HijackTest(platform::System& sys, const ProcessSnapshot* snapshot, std::uint32_t processId,
                std::string& details, const std::string& path) {
    const std::optional<ProcessRecord> own =
        snapshot ? snapshot->Find(processId) : std::nullopt;
    const bool looksHijacked = (own && FirstThreadSuspendedAtStart(*own)) ||
                               ImageHeadersDiffer(sys, processId, path);
    if (!looksHijacked) return false;

    std::string parentText;
    // Windows process ids are 32-bit, though the record holds them in a pointer-sized field; a
    // wider value is damage and names no parent rather than a truncated, unrelated one.
    if (own && (static_cast<std::uint64_t>(own->inheritedFromUniqueProcessId) >> 32) == 0) {
        const std::string parentPath = GetProcessPath(
            sys, static_cast<std::uint32_t>(own->inheritedFromUniqueProcessId));
        if (!parentPath.empty()) parentText = kStartedByPrefix + parentPath;
    }
    details += parentText;
    details += kHijackVerdict;
    return true;
}

}  // namespace zorvik
