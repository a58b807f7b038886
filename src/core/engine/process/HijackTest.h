#pragma once
// Whether a process looks taken over by other code: its first thread was stopped before it
// ever ran in user mode while the process has further threads, or the image headers of its
// main module in memory differ from those of its program file.
#include <array>
#include <cstdint>
#include <string>

#include "core/engine/process/ProcessSnapshot.h"
#include "platform/ProcessLayout.h"
#include "platform/System.h"

namespace zorvik {

// The first 248 bytes of the NT headers (the size of IMAGE_NT_HEADERS32).
using NtHeadersBlock = std::array<std::uint8_t, platform::kNtHeadersSize>;

// Offsets of the NT headers (e_lfanew) beyond this are taken as damage, not followed.
constexpr std::int32_t kMaxNtHeadersOffset = 4 * 1024 * 1024;

// The verdict HijackTest appends, after the parent text.
inline constexpr const char* kHijackVerdict = ", Probable High jacked Process";
inline constexpr const char* kStartedByPrefix = ", Started by: ";

// Fills headers with the NT headers of the file at path and gives true. Gives false, leaving
// headers as it was, when the file cannot be opened, is shorter than the DOS header, names
// its NT headers at a negative or absurd offset, or ends before all 248 bytes of them.
bool ReadImageHeaders(platform::System& sys, const std::string& path, NtHeadersBlock& headers);

// True only when the image of the process's first module in memory and the file at path differ
// in all three of NumberOfSections, AddressOfEntryPoint and SizeOfImage. False when the process
// cannot be opened for query and memory reading, its first module cannot be found, its memory
// does not begin with "MZ", a memory read fails or comes back short, or the file gives no headers.
bool ImageHeadersDiffer(platform::System& sys, std::uint32_t processId, const std::string& path);

// The hijack test of one process of the scan. snapshot is the scan's, or null when the scan has
// none (then the suspended-thread sign cannot hold and no parent is named). path is the process's
// main-module path, never empty. When the process looks hijacked, appends ", Started by: " and
// the parent's path (when the parent is in the snapshot and its path is not empty) and then
// ", Probable High jacked Process" to details and gives true; otherwise leaves details unchanged.
bool HijackTest(platform::System& sys, const ProcessSnapshot* snapshot, std::uint32_t processId,
                std::string& details, const std::string& path);

}  // namespace zorvik
