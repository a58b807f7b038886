// Cutting any bytes into lines, as start-up batch and profile files are read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/base/TextLines.h"
#include "support/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::size_t total = 0;
    for (const std::string& line : zorvik::SplitTextLines(bytes)) {
        FUZZ_CHECK(line.find('\r') == std::string::npos);
        FUZZ_CHECK(line.find('\x1a') == std::string::npos);
        total += line.size();
        FUZZ_CHECK(total <= bytes.size());
    }
    return 0;
}
