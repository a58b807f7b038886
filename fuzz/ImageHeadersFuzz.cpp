// The image-header comparison over any file and memory bytes: the first byte tells how the
// rest is cut (its low bit: whether the process has its own memory image), then the file's
// bytes as a length-prefixed text, then the memory image.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/engine/process/HijackTest.h"
#include "platform/sim/system/SimSystem.h"
#include "support/FuzzCheck.h"
#include "support/FuzzFields.h"

namespace {

// A length of up to 64 KiB, so that an e_lfanew well past the DOS header can still be met.
std::string LongText(fuzz::ByteReader& reader) {
    const std::size_t length = reader.Byte() | (std::size_t{reader.Byte()} << 8);
    std::string text;
    for (std::size_t i = 0; i < length && !reader.AtEnd(); ++i) text += static_cast<char>(reader.Byte());
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader reader(data, size);
    const std::uint8_t mode = reader.Byte();
    const std::string fileBytes = LongText(reader);
    const std::string memoryBytes = reader.Rest();

    const std::string path = "C:\\Apps\\prog.exe";
    platform::sim::SimSystem sys;
    sys.fs().AddFile(path, fileBytes);
    platform::sim::SimProcess process;
    process.pid = 100;
    process.imagePath = path;
    if (mode & 1) process.imageMemory = memoryBytes;
    sys.procs().AddProcess(process);

    zorvik::NtHeadersBlock headers{};
    headers.fill(0xA5);
    const zorvik::NtHeadersBlock untouched = headers;
    if (!zorvik::ReadImageHeaders(sys, path, headers)) FUZZ_CHECK(headers == untouched);

    const bool differ = zorvik::ImageHeadersDiffer(sys, process.pid, path);
    // The same bytes on disk and in memory never differ.
    if (!(mode & 1)) FUZZ_CHECK(!differ);
    FUZZ_CHECK(sys.procs().OpenHandleCount() == 0);
    return 0;
}
